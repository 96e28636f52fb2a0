#include "common/clan_word.h"

#include <algorithm>

namespace kinship::clan {

std::string display_clan(std::string_view word)
{
    std::string shown(word);
    std::ranges::replace(shown, '_', ' ');
    return shown;
}

} // namespace kinship::clan
