#pragma once

// A test fixture with a folder of its own, emptied and removed after each
// test, and files written into it byte for byte.

#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace stirpex::test {

class ScratchFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "stirpex-test-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }

    std::filesystem::path write(const std::string& name, std::string_view bytes) const {
        const std::filesystem::path path = m_dir / name;
        std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    std::filesystem::path m_dir;
};

} // namespace stirpex::test
