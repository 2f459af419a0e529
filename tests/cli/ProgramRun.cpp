#include "ProgramRun.h"

#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace clitest
{
namespace fs = std::filesystem;

std::vector<std::string> ProgramResult::lines() const
{
    std::vector<std::string> result;
    std::istringstream stream(out);
    for (std::string line; std::getline(stream, line);)
        result.push_back(line);
    return result;
}

ProgramResult runProgram(const std::vector<std::string>& args, const RunOptions& options)
{
    ProgramResult result;
    int outPipe[2];
    int errPipe[2];
    if (pipe(outPipe) != 0 || pipe(errPipe) != 0)
        return result;

    std::vector<std::string> envText;
    for (char** entry = environ; *entry; ++entry)
    {
        std::string text = *entry;
        const std::string name = text.substr(0, text.find('='));
        if (name != "KALDOR_LIB" && !options.env.count(name))
            envText.push_back(text);
    }
    for (const auto& [name, value] : options.env)
        envText.push_back(name + "=" + value);

    std::vector<std::string> argText{options.program};
    argText.insert(argText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& text : argText)
        argv.push_back(text.data());
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& text : envText)
        envp.push_back(text.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, outPipe[0]);
    posix_spawn_file_actions_addclose(&actions, errPipe[0]);
    if (!options.workingFolder.empty())
        posix_spawn_file_actions_addchdir_np(&actions, options.workingFolder.c_str());
    pid_t pid = 0;
    const int spawned =
        posix_spawn(&pid, options.program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(outPipe[1]);
    close(errPipe[1]);
    if (spawned != 0)
    {
        close(outPipe[0]);
        close(errPipe[0]);
        ADD_FAILURE() << "cannot start " << options.program;
        return result;
    }

    // Both pipes are drained together so that neither can fill up and stall the program.
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    int open = 2;
    while (open > 0)
    {
        if (poll(fds, 2, -1) < 0)
            break;
        for (int i = 0; i < 2; ++i)
        {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            char buffer[4096];
            const ssize_t got = read(fds[i].fd, buffer, sizeof buffer);
            if (got > 0)
                sinks[i]->append(buffer, static_cast<size_t>(got));
            else
            {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    int status = 0;
    waitpid(pid, &status, 0);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

fs::path samplesFolder()
{
    return fs::path(KALDOR_SAMPLES);
}

std::string sampleMacro(const std::string& name)
{
    return (samplesFolder() / "macros" / name).string();
}

ScratchFolder::ScratchFolder()
{
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = fs::temp_directory_path() / ("kaldor-cli-" + std::string(info->test_suite_name()) + "-" +
                                         info->name() + "-" + std::to_string(getpid()));
    fs::remove_all(path_);
    fs::create_directories(path_);
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string ScratchFolder::write(const std::string& name, const std::string& bytes) const
{
    const fs::path file = path_ / name;
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
    return file.string();
}

std::string ScratchFolder::copyOfSampleLibrary() const
{
    const fs::path copy = path_ / "library";
    fs::copy(samplesFolder() / "library", copy, fs::copy_options::recursive);
    return copy.string();
}

std::vector<std::string> outputLines(const ProgramResult& result)
{
    std::vector<std::string> outputs;
    for (const std::string& line : result.lines())
        if (line.rfind("Output\t", 0) == 0)
            outputs.push_back(line);
    return outputs;
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::map<std::string, std::string> snapshot(const fs::path& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), folder).string()] = readFile(entry.path().string());
    return files;
}
} // namespace clitest
