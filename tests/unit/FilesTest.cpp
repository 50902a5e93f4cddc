// The one save and the one read of every file: a save that fails keeps the old file,
// a target that is no regular file is refused, a read takes regular files of a bounded
// size only.

#include "common/Files.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace prurez;
namespace fs = std::filesystem;

namespace {

class Files : public ::testing::Test {
protected:
    void SetUp() override
    {
        directory_ = fs::temp_directory_path() / ("prurez-files-" + std::to_string(::getpid()));
        fs::remove_all(directory_);
        fs::create_directories(directory_);
    }
    void TearDown() override { fs::remove_all(directory_); }
    std::string path(const std::string& name) const { return (directory_ / name).string(); }
    size_t entries() const
    {
        return static_cast<size_t>(std::distance(fs::directory_iterator(directory_), fs::directory_iterator()));
    }
    fs::path directory_;
};

// The message of a save made in a child process under a file-size limit of `limit`
// bytes, as on a disk that is full beyond them ("" when it succeeded).
std::string saveUnderSizeLimit(const std::string& name, const std::string& content, rlim_t limit)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        std::signal(SIGXFSZ, SIG_IGN);  // the write fails with EFBIG instead
        const rlimit size{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &size);
        std::string message;
        try {
            saveFile(name, content);
        } catch (const FileProblem& problem) {
            message = problem.message();
        }
        [[maybe_unused]] const ssize_t written = ::write(channel[1], message.data(), message.size());
        ::_exit(0);
    }
    ::close(channel[1]);
    std::string message;
    char buffer[512];
    for (ssize_t got; (got = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        message.append(buffer, static_cast<size_t>(got));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return message;
}

}  // namespace

TEST_F(Files, ASaveThatCannotBeWrittenWholeKeepsTheOldFileAndItsPermissions)
{
    const std::string name = path("zadani.txt");
    std::ofstream(name, std::ios::binary) << "stará data\n";
    ::chmod(name.c_str(), 0640);
    const std::string content(64 * 1024, 'x');

    EXPECT_EQ(saveUnderSizeLimit(name, content, 4096),
              "Soubor „" + name + "“ se nepodařilo uložit: soubor by byl větší, než systém dovoluje. "
                                  "Jeho dosavadní obsah zůstal beze změny.");
    EXPECT_EQ(fileText(name), "stará data\n");
    EXPECT_EQ(entries(), 1u);  // no temporary file left behind

    // Without the limit it is saved, through a link to the file, which stays a link.
    fs::create_symlink(name, path("odkaz.txt"));
    EXPECT_EQ(saveUnderSizeLimit(path("odkaz.txt"), content, RLIM_INFINITY), "");
    EXPECT_EQ(fileText(name), content);
    EXPECT_TRUE(fs::is_symlink(path("odkaz.txt")));
    struct stat status {};
    ::stat(name.c_str(), &status);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(entries(), 2u);

    // A new file gets the permissions creating it would give.
    const mode_t mask = ::umask(022);
    ::umask(mask);
    saveFile(path("nový.txt"), "x");
    ::stat(path("nový.txt").c_str(), &status);
    EXPECT_EQ(status.st_mode & 07777, 0666u & ~mask);
}

TEST_F(Files, ATargetThatIsNoRegularFileIsRefusedAndStaysWhatItIs)
{
    const std::string pipe = path("roura");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(failureOf([&] { saveFile(pipe, "x"); }),
              "Soubor „" + pipe + "“ se nepodařilo uložit: je to roura (FIFO), ne obyčejný soubor.");
    EXPECT_EQ(failureOf([&] { saveFile(pipe, "x", SaveTargets::regularFilesAndDevices); }),
              "Soubor „" + pipe + "“ se nepodařilo uložit: je to roura (FIFO), ne obyčejný soubor.");
    EXPECT_TRUE(fs::is_fifo(pipe));
    EXPECT_EQ(failureOf([&] { saveFile(directory_.string(), "x"); }),
              "Soubor „" + directory_.string() + "“ se nepodařilo uložit: je to složka, ne obyčejný soubor.");

    // A private device node like /dev/null: refused, or written as it is where devices
    // are taken (the batch tool's curve file).
    const std::string device = path("null");
    if (::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0)
        GTEST_SKIP() << "no right to make a device node";
    EXPECT_EQ(failureOf([&] { saveFile(device, "x"); }),
              "Soubor „" + device + "“ se nepodařilo uložit: je to zařízení, ne obyčejný soubor.");
    EXPECT_EQ(failureOf([&] { saveFile(device, "x", SaveTargets::regularFilesAndDevices); }), "(no failure)");
    EXPECT_TRUE(fs::is_character_file(device));
    EXPECT_EQ(entries(), 2u);
}

TEST_F(Files, AReadTakesRegularFilesOfBoundedSizeOnly)
{
    const std::string pipe = path("roura");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    // A pipe no one writes is refused at once, not waited for; so is an endless device.
    EXPECT_EQ(failureOf([&] { readFile(pipe); }),
              "Soubor „" + pipe + "“ nelze otevřít: je to roura (FIFO), ne obyčejný soubor.");
    EXPECT_EQ(failureOf([&] { readFile("/dev/zero"); }),
              "Soubor „/dev/zero“ nelze otevřít: je to zařízení, ne obyčejný soubor.");
    EXPECT_EQ(failureOf([&] { readFile(path("chybi.txt")); }),
              "Soubor „" + path("chybi.txt") + "“ nelze otevřít: soubor nebo složka neexistuje.");

    const std::string big = path("velky.txt");
    std::ofstream(big) << "a = 1\n";
    fs::resize_file(big, maximumReadFileSize + 1);
    EXPECT_EQ(failureOf([&] { readFile(big); }), "Soubor „" + big + "“ nelze otevřít: je větší než 16 MiB.");
    fs::resize_file(big, maximumReadFileSize);
    EXPECT_EQ(readFile(big).size(), maximumReadFileSize);

    // A stream has no size to look at: it is read up to the bound.
    const int descriptor = ::open("/dev/zero", O_RDONLY);
    EXPECT_EQ(failureOf([&] { readDescriptor(descriptor, "-"); }), "Soubor „-“ nelze otevřít: je větší než 16 MiB.");
    ::close(descriptor);

    const std::atomic<bool> cancel{true};
    EXPECT_EQ(failureOf([&] { readFile(big, &cancel); }), "Čtení souboru „" + big + "“ bylo přerušeno.");
}
