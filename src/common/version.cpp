#include "common/version.h"

namespace kinship {

const char* project_version()
{
    return KINSHIP_VERSION;
}

} // namespace kinship
