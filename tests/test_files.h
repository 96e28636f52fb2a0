#pragma once

// Helpers for tests that work with real files: a temporary folder removed at the end of
// the test, whole-file reads and writes, and what code prints on standard output.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unistd.h>

namespace test_files {

inline std::string read_file(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void write_file(const std::filesystem::path& path, std::string_view content)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out.write(content.data(), static_cast<std::streamsize>(content.size())).flush()) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

// A fresh folder under the system's temporary directory, removed with its contents when
// the object goes out of scope.
class TempDir {
public:
    TempDir()
    {
        std::string pattern = std::filesystem::temp_directory_path() / "kinship-test-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create a temporary folder");
        }
        path_ = pattern;
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// Runs `action` with standard output sent to a temporary file and returns what it printed.
inline std::string capture_stdout(const std::function<void()>& action)
{
    std::fflush(stdout);
    std::FILE* sink = std::tmpfile();
    const int saved = ::dup(::fileno(stdout));
    if (sink == nullptr || saved < 0 || ::dup2(::fileno(sink), ::fileno(stdout)) < 0) {
        throw std::runtime_error("cannot redirect standard output");
    }
    action();
    std::fflush(stdout);
    ::dup2(saved, ::fileno(stdout));
    ::close(saved);
    std::string text;
    std::rewind(sink);
    for (int c; (c = std::fgetc(sink)) != EOF;) {
        text += static_cast<char>(c);
    }
    std::fclose(sink);
    return text;
}

} // namespace test_files
