#include "bench/ChildProcess.h"

#include <cerrno>
#include <chrono>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

ChildProcess::ChildProcess()
    : m_output("/dev/null"), m_seconds(0), m_peakKilobytes(0), m_exitCode(-1)
{
}

ChildProcess::~ChildProcess()
{
}

std::string ChildProcess::SetOutput(const std::string& path)
{
    std::string old = m_output;
    m_output = path;
    return old;
}

double ChildProcess::GetSeconds() const
{
    return m_seconds;
}

long ChildProcess::GetPeakKilobytes() const
{
    return m_peakKilobytes;
}

int ChildProcess::GetExitCode() const
{
    return m_exitCode;
}

int ChildProcess::Run(const std::vector<std::string>& argv)
{
    m_seconds = 0;
    m_peakKilobytes = 0;
    m_exitCode = -1;
    if (argv.empty())
        return -1;
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    // Opened before the clock starts, so that both programs pay the same.
    int out = ::open(m_output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0)
        return -1;

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out, STDOUT_FILENO);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    ::close(out);
    if (pid < 0)
        return -1;

    int status = 0;
    struct rusage usage = {};
    pid_t done;
    do {
        done = ::wait4(pid, &status, 0, &usage);
    } while (done < 0 && errno == EINTR);
    const auto stop = std::chrono::steady_clock::now();
    if (done != pid)
        return -1;

    m_seconds = std::chrono::duration<double>(stop - start).count();
    m_peakKilobytes = usage.ru_maxrss;               // kilobytes on Linux
    if (WIFEXITED(status))
        m_exitCode = WEXITSTATUS(status);
    return m_exitCode == 0 ? 0 : -1;
}
