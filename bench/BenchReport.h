#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// Collects the median and spread of every benchmark over its repetitions and
// prints each figure as a ratio against the baseline measured in the same run.
class RatioReporter final : public benchmark::ConsoleReporter {
public:
    struct Figure {
        std::string name;     // the benchmark's name
        std::string label;    // what the line calls it
        std::string baseline; // the benchmark it is compared with
        std::string unit;     // "ns" or "us"
    };

    explicit RatioReporter(std::vector<Figure> figures);

    bool ReportContext(const Context &context) override;
    void ReportRuns(const std::vector<Run> &runs) override;
    void Finalize() override;

    // Runs every benchmark of the program, repeated and interleaved, then
    // prints the figures. Returns the process's exit status.
    static int RunAll(int argc, char **argv, std::vector<Figure> figures);

private:
    struct Stats {
        double median = 0;
        double stddev = 0;
    };
    std::vector<Figure> m_figures;
    std::map<std::string, Stats> m_stats; // by benchmark name, in nanoseconds
};

// Prints one figure line: "name: value ± spread unit (ratio x baseline)".
void PrintFigure(const std::string &label, double value, double spread, const std::string &unit, double ratio,
                 const std::string &baselineName);
