#ifndef MORVEK_BENCH_CHILDPROCESS_H
#define MORVEK_BENCH_CHILDPROCESS_H

#include <string>
#include <vector>

// Runs one program to its end and measures it as a user would feel it: the
// wall time from start to exit and the peak resident memory that the system
// reports for that process alone (wait4's rusage). POSIX only.
//
// How to use:
//   1. ChildProcess run; run.SetOutput("out.txt") to send standard output to
//      a file (default: /dev/null).
//   2. if (run.Run({"/usr/bin/midicsv", "song.mid", "song.csv"}) == 0) ...
//   3. GetSeconds(), GetPeakKilobytes(), GetExitCode().
class ChildProcess {
public:
// Construction
    ChildProcess();
    virtual ~ChildProcess();

// Attributes
    // File that receives the program's standard output; returns the old one.
    virtual std::string SetOutput(const std::string& path);
    virtual double GetSeconds() const;
    virtual long GetPeakKilobytes() const;
    // The program's exit code; -1 when it could not be started or was killed.
    virtual int GetExitCode() const;

// Operations
    // Starts argv[0] with the arguments and waits for it. Returns 0 when the
    // program ran and exited with code 0, -1 otherwise.
    virtual int Run(const std::vector<std::string>& argv);

private:
    std::string m_output;
    double m_seconds;
    long m_peakKilobytes;
    int m_exitCode;
};

#endif
