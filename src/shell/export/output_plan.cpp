#include "output_plan.h"

#include <filesystem>
#include <sys/stat.h>
#include <unordered_map>

namespace tanu::exporter {

namespace {

// What names one file, however the path spells it.
std::string identityOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        return "file " + std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
    }
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    std::filesystem::path normal = std::filesystem::weakly_canonical(absolute, error);
    if (error) {
        normal = absolute.lexically_normal();
    }
    return "path " + normal.string();
}

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        text += (text.empty() ? "" : ", ") + name;
    }
    return text;
}

} // namespace

OutputPlan planOutputs(const Options& options) {
    OutputPlan plan;
    std::unordered_map<std::string, std::string> inputNamed; // identity -> the name given
    std::vector<std::string> inputs;
    for (const std::string& input : options.inputs) {
        if (inputNamed.emplace(identityOf(input), input).second) {
            inputs.push_back(input);
        }
    }

    struct Chart {
        std::string input;
        std::string output;
        std::string identity; // empty for standard output
    };
    std::vector<Chart> charts;
    std::unordered_map<std::string, std::vector<std::string>> inputsWriting; // by output
    for (const std::string& input : inputs) {
        Chart chart{input, options.output ? *options.output : outputPathFor(input, options), {}};
        if (chart.output != "-") {
            chart.identity = identityOf(chart.output);
            inputsWriting[chart.identity].push_back(input);
        }
        charts.push_back(std::move(chart));
    }

    for (const Chart& chart : charts) {
        if (chart.identity.empty()) {
            plan.charts.push_back({chart.input, chart.output});
            continue;
        }
        if (const auto profile = inputNamed.find(chart.identity); profile != inputNamed.end()) {
            plan.refusals.push_back(chart.input + ": not exported: its chart " + chart.output +
                                    " would replace the profile " + profile->second);
            continue;
        }
        const std::vector<std::string>& group = inputsWriting[chart.identity];
        if (group.size() > 1) {
            if (group.front() == chart.input) {
                plan.refusals.push_back(
                    joined(group) + ": not exported: their charts would all be " + chart.output);
            }
            continue;
        }
        plan.charts.push_back({chart.input, chart.output});
    }
    return plan;
}

} // namespace tanu::exporter
