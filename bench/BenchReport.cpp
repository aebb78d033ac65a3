#include "BenchReport.h"

#include <cstdio>

namespace {

double FromNanoseconds(double ns, const std::string &unit)
{
    return unit == "us" ? ns / 1000 : unit == "ms" ? ns / 1e6 : ns;
}

} // namespace

RatioReporter::RatioReporter(std::vector<Figure> figures) : m_figures(std::move(figures)) {}

bool RatioReporter::ReportContext(const Context &)
{
    return true; // the figures below say everything
}

void RatioReporter::ReportRuns(const std::vector<Run> &runs)
{
    for (const Run &run : runs) {
        // A single repetition (the quick pass) has no aggregates: its one run is the median.
        const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
        if (run.run_type != Run::RT_Aggregate && !single)
            continue;
        const double ns = run.GetAdjustedRealTime() * benchmark::GetTimeUnitMultiplier(benchmark::kNanosecond)
                          / benchmark::GetTimeUnitMultiplier(run.time_unit);
        Stats &stats = m_stats[run.run_name.function_name];
        if (single || run.aggregate_name == "median")
            stats.median = ns;
        else if (run.aggregate_name == "stddev")
            stats.stddev = ns;
    }
}

void RatioReporter::Finalize()
{
    for (const Figure &figure : m_figures) {
        const Stats &stats = m_stats[figure.name];
        const Stats &baseline = m_stats[figure.baseline];
        PrintFigure(figure.label, FromNanoseconds(stats.median, figure.unit),
                    FromNanoseconds(stats.stddev, figure.unit), figure.unit,
                    baseline.median > 0 ? stats.median / baseline.median : 0, figure.baseline);
    }
}

int RatioReporter::RunAll(int argc, char **argv, std::vector<Figure> figures)
{
    std::vector<char *> args(argv, argv + argc);
    std::string repetitions = "--benchmark_repetitions=15";
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    std::string aggregates = "--benchmark_report_aggregates_only=true";
    args.insert(args.begin() + 1, {repetitions.data(), interleave.data(), aggregates.data()});
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    RatioReporter reporter(std::move(figures));
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}

void PrintFigure(const std::string &label, double value, double spread, const std::string &unit, double ratio,
                 const std::string &baselineName)
{
    std::printf("%s: %.3g ± %.2g %s (%.2f x %s)\n", label.c_str(), value, spread, unit.c_str(), ratio,
                baselineName.c_str());
    std::fflush(stdout);
}
