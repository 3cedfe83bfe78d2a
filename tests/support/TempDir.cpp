#include "support/TempDir.h"

#include <fstream>
#include <iterator>
#include <random>

namespace quillet::test {

TempDir::TempDir() {
  std::random_device rd;
  for (;;) {
    m_path = std::filesystem::temp_directory_path() / ("quillet-test-" + std::to_string(rd()));
    if (std::filesystem::create_directory(m_path)) break;
  }
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(m_path, ec);
}

std::vector<unsigned char> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::string DataFile(const std::string& name) { return std::string(QUILLET_TEST_DATA) + "/" + name; }

}  // namespace quillet::test
