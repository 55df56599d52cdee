// A fresh temporary directory per test, removed afterwards, with small file
// helpers.
#pragma once

#include <filesystem>
#include <string>

namespace sif::test {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

void WriteBytes(const std::string& file, const std::string& bytes);
std::string ReadBytes(const std::string& file);

// Makes `dir` the current directory until destruction.
class ScopedCurrentDir {
  public:
    explicit ScopedCurrentDir(const std::filesystem::path& dir);
    ~ScopedCurrentDir();

  private:
    std::filesystem::path previous_;
};

}  // namespace sif::test
