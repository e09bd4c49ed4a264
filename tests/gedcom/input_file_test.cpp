#include "gedcom/input_file.h"

#include "support/scratch_folder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <string>
#include <thread>

namespace stirpex {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class InputFileTest : public test::ScratchFolderTest {};

std::string readAll(std::istream& in) {
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Opens `path` on another thread. A file that blocks the opening is released
// by a writer after a while, so that a failure ends the test instead of hanging it.
OpenedFile openWithoutHanging(const fs::path& path) {
    std::packaged_task<OpenedFile()> task([path] { return OpenGedcomFile(path); });
    std::future<OpenedFile> result = task.get_future();
    std::thread opener(std::move(task));
    const bool inTime = result.wait_for(2s) == std::future_status::ready;
    if (!inTime) {
        ADD_FAILURE() << "opening " << path << " blocked";
        const int writer = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0) {
            ::close(writer);
        }
    }
    opener.join();
    return result.get();
}

TEST_F(InputFileTest, RegularFileIsReadWholeWithItsLength) {
    const std::string text = "0 HEAD\r\n0 @I1@ INDI\r\n" + std::string(300000, 'x') + "\r\n0 TRLR\r\n";
    const OpenedFile opened = OpenGedcomFile(write("family.ged", text));
    ASSERT_TRUE(opened.error.empty()) << opened.error;
    ASSERT_TRUE(opened.stream);
    EXPECT_EQ(opened.length, static_cast<std::int64_t>(text.size()));
    EXPECT_EQ(readAll(*opened.stream), text);
}

TEST_F(InputFileTest, LinkToARegularFileIsFollowed) {
    fs::create_symlink(write("family.ged", "0 HEAD\n"), m_dir / "link.ged");
    const OpenedFile opened = OpenGedcomFile(m_dir / "link.ged");
    ASSERT_TRUE(opened.error.empty()) << opened.error;
    EXPECT_EQ(readAll(*opened.stream), "0 HEAD\n");
}

TEST_F(InputFileTest, MissingFilesAndFoldersKeepTheSystemsReason) {
    EXPECT_EQ(OpenGedcomFile(m_dir / "missing.ged").error, "No such file or directory");
    EXPECT_EQ(OpenGedcomFile(m_dir).error, "Is a directory");
    fs::create_symlink(m_dir / "missing.ged", m_dir / "dangling.ged");
    EXPECT_EQ(OpenGedcomFile(m_dir / "dangling.ged").error, "No such file or directory");
}

// A pipe, a device or a socket would block the reader or never end: each is
// refused at once, the pipe even with nobody writing to it.
TEST_F(InputFileTest, AnythingButARegularFileIsRefusedWithoutBlocking) {
    ASSERT_EQ(::mkfifo((m_dir / "pipe.ged").c_str(), 0600), 0);
    fs::create_symlink(m_dir / "pipe.ged", m_dir / "link-to-pipe.ged");
    const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(socket, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = (m_dir / "socket.ged").string();
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size());
    ASSERT_EQ(::bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);

    for (const fs::path& path : {m_dir / "pipe.ged", m_dir / "link-to-pipe.ged", fs::path(socketPath),
                                 fs::path("/dev/zero"), fs::path("/dev/null")}) {
        const OpenedFile opened = openWithoutHanging(path);
        EXPECT_EQ(opened.error, "Not a regular file") << path;
        EXPECT_FALSE(opened.stream) << path;
    }
    ::close(socket);
}

TEST_F(InputFileTest, NameThatIsNotUtf8IsOpenedByItsBytes) {
    const fs::path path = write("caf\xE9.ged", "0 HEAD\n");
    const OpenedFile opened = OpenGedcomFile(path);
    ASSERT_TRUE(opened.error.empty()) << opened.error;
    EXPECT_EQ(readAll(*opened.stream), "0 HEAD\n");
}

} // namespace
} // namespace stirpex
