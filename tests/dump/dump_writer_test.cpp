#include "dump/dump_format.h"
#include "dump/dump_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <cerrno>
#include <csignal>
#include <unistd.h>
#ifndef _WIN32
#include <dlfcn.h>
#include <sys/resource.h>

// The dump's calls to the file system that make it durable, in order, while
// the test records them; these stand in for the C library's own, which they
// then call. A sync can be made to fail instead, as a disk error or a
// network file system that finds itself full only then would.
namespace {
bool recordingFileCalls = false;
std::vector<std::string> fileCalls;
int syncFailure = 0; // the errno every fsync fails with; 0: none fails
} // namespace

extern "C" int fsync(int fd)
{
    static const auto systemFsync = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"));
    if (recordingFileCalls) {
        fileCalls.push_back("fsync " + std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(fd)).string());
    }
    if (syncFailure != 0) {
        errno = syncFailure;
        return -1;
    }
    return systemFsync(fd);
}

extern "C" int rename(const char* from, const char* to) noexcept
{
    static const auto systemRename = reinterpret_cast<int (*)(const char*, const char*)>(dlsym(RTLD_NEXT, "rename"));
    if (recordingFileCalls) {
        fileCalls.push_back(std::string("rename ") + from + " " + to);
    }
    return systemRename(from, to);
}
#endif

namespace {

namespace fs = std::filesystem;

class DumpWriterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        directory = fs::temp_directory_path() / ("earshot-dump-" + std::to_string(getpid()) + "-" +
                                                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(directory);
        fs::create_directories(directory);
        outPath = (directory / "out.txt").string();
    }

    void TearDown() override
    {
        closeOutput();
        if (fs::exists(outPath)) {
            fs::permissions(outPath, fs::perms::owner_write, fs::perm_options::add);
        }
        fs::remove_all(directory);
    }

    static std::string fileText(const std::string& path)
    {
        std::ifstream file(path, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }

    static void writeFile(const std::string& path, const std::string& text)
    {
        std::ofstream(path, std::ios::binary) << text;
    }

    fs::path directory;
    std::string outPath;
};

// The worked lines, each written as the programs write every line.
TEST_F(DumpWriterTest, WorkedLinesByteForByte)
{
    struct Line {
        int64_t index;
        float value;
        const char* text;
    };
    const std::vector<Line> lines = {
        {0, 0.0f, " 0             0\r\n"},
        {5, -0.5f, " 5            -0.5\r\n"},
        {1023, -123.4567f, " 1023         -123.4567\r\n"},
        {7, 1.0f / 32768.0f, " 7             3.051758e-005\r\n"},
        {12, 4.0f / 32768.0f, " 12            0.0001220703\r\n"},
        {2047, 32767.0f / 32768.0f, " 2047          0.9999695\r\n"},
        {100, -1.0f, " 100          -1\r\n"},
        {3, -190.0f, " 3            -190\r\n"},
    };
    const std::vector<size_t> lengths = {18, 20, 25, 30, 29, 26, 18, 20};

    ASSERT_TRUE(openForOutput(outPath.c_str()));
    std::string expected;
    for (size_t k = 0; k < lines.size(); ++k) {
        ASSERT_EQ(std::string(lines[k].text).size(), lengths[k]) << "line " << k;
        printInteger(lines[k].index, PrintEnd::nextZone);
        EXPECT_EQ(lineColumn, 14) << "line " << k;
        printSingle(lines[k].value, PrintEnd::endLine);
        EXPECT_EQ(lineColumn, 0) << "line " << k;
        expected += lines[k].text;
    }
    closeOutput();
    EXPECT_EQ(fileText(outPath), expected);
}

TEST_F(DumpWriterTest, ValueStartsInColumn15ForEveryIndexWidth)
{
    std::vector<float> values(2048);
    for (size_t i = 0; i < values.size(); ++i) {
        values[i] = (static_cast<float>(i) - 1000.0f) / 7.0f;
    }
    dumpValues(outPath.c_str(), values.data(), static_cast<int64_t>(values.size()));

    std::istringstream file(fileText(outPath));
    std::string line;
    size_t count = 0;
    while (std::getline(file, line, '\n')) {
        const std::string index = formatInteger(static_cast<int64_t>(count));
        ASSERT_EQ(line.substr(0, 14), index + std::string(14 - index.size(), ' ')) << "line " << count;
        ASSERT_EQ(line.substr(14), formatSingle(values[count]) + "\r") << "line " << count;
        ++count;
    }
    EXPECT_EQ(count, values.size());
}

TEST_F(DumpWriterTest, NextZoneAlwaysWritesAtLeastOneBlank)
{
    ASSERT_TRUE(openForOutput(outPath.c_str()));
    printInteger(1234567890123, PrintEnd::nextZone);
    EXPECT_EQ(lineColumn, 28);
    printInteger(-3, PrintEnd::nextZone);
    EXPECT_EQ(lineColumn, 42);
    printSingle(2.5f, PrintEnd::endLine);
    closeOutput();
    EXPECT_EQ(fileText(outPath), " 1234567890123" + std::string(14, ' ') + "-3" + std::string(12, ' ') + " 2.5\r\n");
}

// What each program dumps when there is no audio input.
TEST_F(DumpWriterTest, DumpsWithoutAudioHaveTheirExactSizesAndLastLines)
{
    const std::vector<float> zeros(2048, 0.0f);
    dumpValues(outPath.c_str(), zeros.data(), 2048);
    std::string text = fileText(outPath);
    EXPECT_EQ(text.size(), 36864u);
    EXPECT_TRUE(text.ends_with("\r\n 2047          0\r\n"));

    const std::vector<float> levels(1024, -190.0f);
    dumpValues(outPath.c_str(), levels.data(), 1024);
    text = fileText(outPath);
    EXPECT_EQ(text.size(), 20480u);
    EXPECT_TRUE(text.ends_with("\r\n 1023         -190\r\n"));
    // The same dump as text, for a descriptor, holds the same bytes.
    std::string asText = "earlier";
    dumpValuesToText(levels.data(), 1024, asText);
    EXPECT_EQ(asText, text);
}

TEST_F(DumpWriterTest, LongerExistingFileIsReplacedWhole)
{
    writeFile(outPath, std::string(100000, 'x'));
    const float values[2] = {0.25f, -8.0f};
    dumpValues(outPath.c_str(), values, 2);
    EXPECT_EQ(fileText(outPath), " 0             0.25\r\n 1            -8\r\n");
}

TEST_F(DumpWriterTest, ReadOnlyFileIsLeftAsItWasAndLaterCallsDoNothing)
{
    const std::string earlierPath = (directory / "earlier.txt").string();
    ASSERT_TRUE(openForOutput(earlierPath.c_str()));
    printInteger(4, PrintEnd::nextZone);
    printSingle(1.5f, PrintEnd::endLine);
    closeOutput();
    const std::string earlier = fileText(earlierPath);

    writeFile(outPath, "earlier run\r\n");
    fs::permissions(outPath, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

    EXPECT_FALSE(openForOutput(outPath.c_str()));
    EXPECT_EQ(dumpError, std::errc::permission_denied);
    printInteger(9, PrintEnd::nextZone);
    printSingle(-2.0f, PrintEnd::endLine);
    printInteger(10, PrintEnd::nextZone);
    closeOutput();

    EXPECT_EQ(fileText(outPath), "earlier run\r\n");
    EXPECT_EQ(fileText(earlierPath), earlier);
    EXPECT_EQ(lineColumn, 0);
}

// Windows files have a single read-only attribute instead of write bits.
#ifndef _WIN32
TEST_F(DumpWriterTest, FileWithAnyWriteBitIsWritten)
{
    writeFile(outPath, "earlier run\r\n");
    fs::permissions(outPath, fs::perms::owner_read | fs::perms::others_write);
    const float value = 3.0f;
    dumpValues(outPath.c_str(), &value, 1);
    EXPECT_EQ(fileText(outPath), " 0             3\r\n");
}
#endif

// Paths that cannot be created whoever runs the program.
TEST_F(DumpWriterTest, UncreatablePathsLeaveNothingBehind)
{
    const float values[3] = {1.0f, 2.0f, 3.0f};
    EXPECT_FALSE(openForOutput((directory / "missing" / "out.txt").string().c_str()));
    dumpValues((directory / "missing" / "out.txt").string().c_str(), values, 3);
    EXPECT_TRUE(fs::is_empty(directory));

    fs::create_directory(outPath);
    EXPECT_EQ(dumpValues(outPath.c_str(), values, 3), std::errc::is_a_directory);
    EXPECT_TRUE(fs::is_directory(outPath));
    EXPECT_TRUE(fs::is_empty(outPath));
}

// A rename that fails at the very end (out.txt became a directory since the
// dump began) fails the dump, and the temporary file goes with it.
TEST_F(DumpWriterTest, AFailedRenameFailsTheDumpAndLeavesNothingBehind)
{
    ASSERT_TRUE(openForOutput(outPath.c_str()));
    printInteger(0, PrintEnd::nextZone);
    printSingle(1.0f, PrintEnd::endLine);
    fs::create_directory(outPath);
    EXPECT_FALSE(closeOutput());
    EXPECT_TRUE(dumpError);
    EXPECT_TRUE(fs::is_directory(outPath));
    EXPECT_EQ(std::distance(fs::directory_iterator(directory), fs::directory_iterator()), 1);
}

#ifndef _WIN32
// The new file reaches the disk before it takes the old one's name: a crash
// in between leaves the whole earlier file, never an empty new one.
TEST_F(DumpWriterTest, TheTemporaryFileIsSyncedBeforeItIsRenamed)
{
    const float value = 0.5f;
    fileCalls.clear();
    recordingFileCalls = true;
    const std::error_code error = dumpValues(outPath.c_str(), &value, 1);
    recordingFileCalls = false;
    ASSERT_FALSE(error);
    const auto renamed = std::find_if(fileCalls.begin(), fileCalls.end(),
                                      [](const std::string& call) { return call.starts_with("rename "); });
    ASSERT_NE(renamed, fileCalls.end());
    const std::string temporary = renamed->substr(7, renamed->find(' ', 7) - 7);
    EXPECT_TRUE(fs::path(temporary).filename().string().starts_with(".out.txt.")) << *renamed;
    EXPECT_NE(std::find(fileCalls.begin(), renamed,
                        "fsync " + fs::canonical(directory).string() + "/" + fs::path(temporary).filename().string()),
              renamed)
        << "no sync of " << temporary << " before its rename";
}

// A sync that fails fails the dump: the bytes may never reach the disk, so
// the earlier file stays byte for byte, and nothing is left beside it.
TEST_F(DumpWriterTest, AFailedSyncFailsTheDumpAndLeavesTheEarlierFileWhole)
{
    for (const int failure : {EIO, ENOSPC}) {
        SCOPED_TRACE(std::generic_category().message(failure));
        writeFile(outPath, "an earlier dump\r\n");
        const float value = 0.5f;
        syncFailure = failure;
        const std::error_code error = dumpValues(outPath.c_str(), &value, 1);
        syncFailure = 0;
        EXPECT_EQ(error, std::error_code(failure, std::generic_category()));
        EXPECT_EQ(fileText(outPath), "an earlier dump\r\n");
        EXPECT_EQ(std::distance(fs::directory_iterator(directory), fs::directory_iterator()), 1);
    }
}

// In a child process: a dump of 2048 lines on a disk that is full after 8192
// bytes (a file-size limit); exits 0 when it fails for that reason.
int dumpOntoAFullDisk(const std::string& path)
{
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{8192, 8192};
    setrlimit(RLIMIT_FSIZE, &limit);
    const std::vector<float> values(2048, 0.125f);
    return dumpValues(path.c_str(), values.data(), 2048) == std::errc::file_too_large ? 0 : 1;
}

// In a child process: everything printed, then killed before the close.
void dieBeforeTheClose(const std::string& path)
{
    openForOutput(path.c_str());
    for (int64_t i = 0; i < 2048; ++i) {
        printInteger(i, PrintEnd::nextZone);
        printSingle(1.0f, PrintEnd::endLine);
    }
    std::raise(SIGKILL);
}

// A dump that cannot be completed leaves the earlier file exactly as it was
// and nothing beside it.
TEST_F(DumpWriterTest, ADiskThatFillsUpLeavesTheEarlierFileWhole)
{
    writeFile(outPath, "an earlier dump\r\n");
    EXPECT_EXIT(std::exit(dumpOntoAFullDisk(outPath)), testing::ExitedWithCode(0), "");
    EXPECT_EQ(fileText(outPath), "an earlier dump\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(directory), fs::directory_iterator()), 1);
}

TEST_F(DumpWriterTest, AProcessKilledBeforeTheCloseLeavesTheEarlierFileWhole)
{
    writeFile(outPath, "an earlier dump\r\n");
    EXPECT_EXIT(dieBeforeTheClose(outPath), testing::KilledBySignal(SIGKILL), "");
    EXPECT_EQ(fileText(outPath), "an earlier dump\r\n");
}

// The replacement keeps what the user set up: the permission bits, and a
// symbolic link, whose target gets the new bytes.
TEST_F(DumpWriterTest, ThePermissionBitsAndASymbolicLinkStay)
{
    const fs::path target = directory / "kept" / "dump.txt";
    fs::create_directories(target.parent_path());
    writeFile(target.string(), "an earlier dump\r\n");
    const fs::perms mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(target, mode);
    fs::create_symlink("kept/dump.txt", outPath);
    const float value = -2.5f;
    EXPECT_FALSE(dumpValues(outPath.c_str(), &value, 1));
    EXPECT_TRUE(fs::is_symlink(outPath));
    EXPECT_EQ(fileText(target.string()), " 0            -2.5\r\n");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, mode);
    EXPECT_EQ(std::distance(fs::directory_iterator(target.parent_path()), fs::directory_iterator()), 1);
}
#endif

} // namespace
