// Prints the rows every benchmark stored as one markdown table, headed by the
// machine it ran on. Arguments: the results folder, then "name=exit code" for
// every benchmark that did not finish.
#include "BenchSupport.h"

#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <thread>

namespace {

std::vector<std::string> splitTabs(const std::string &line)
{
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '\t');)
        fields.push_back(field);
    return fields;
}

std::string cpuModel()
{
    std::ifstream in("/proc/cpuinfo");
    for (std::string line; std::getline(in, line);)
        if (line.rfind("model name", 0) == 0)
            return line.substr(line.find(':') + 2);
    return "unknown CPU";
}

std::string joined(const std::set<std::string> &values)
{
    std::string text;
    for (const std::string &v : values)
        text += (text.empty() ? "" : ", ") + v;
    return text.empty() ? "unknown" : text;
}

} // namespace

int main(int argc, char *argv[])
{
    namespace fs = std::filesystem;
    const fs::path folder = argc > 1 ? argv[1] : KANSU_BENCH_RESULTS;

    std::map<std::string, std::vector<std::string>> rows; // by order key
    std::set<std::string> qt, platforms, notes;
    std::error_code error;
    for (const auto &entry : fs::directory_iterator(folder, error)) {
        std::ifstream in(entry.path());
        for (std::string line; std::getline(in, line);) {
            const auto fields = splitTabs(line);
            if (entry.path().extension() == ".rows" && fields.size() == 6)
                rows[fields[0] + entry.path().stem().string()] = fields;
            else if (entry.path().extension() == ".meta" && fields.size() == 2) {
                if (fields[0] == "qt")
                    qt.insert(fields[1]);
                else if (fields[0] == "platform")
                    platforms.insert(fields[1]);
                else
                    notes.insert(fields[1]);
            }
        }
    }

    std::cout << "\n### Benchmarks\n\n"
              << "Machine: " << cpuModel() << ", " << std::thread::hardware_concurrency()
              << " cores; Qt " << joined(qt) << "; platform plugin " << joined(platforms) << ".\n";
    for (const std::string &note : notes)
        std::cout << "Note: " << note << ".\n";
    std::cout << "\n| # | Benchmark | Measured | Reference / ratio | Target | Met |\n"
              << "|---|---|---|---|---|---|\n";
    for (const auto &[key, f] : rows)
        std::cout << "| " << f[0] << " | " << f[1] << " | " << f[2] << " | " << f[3] << " | " << f[4]
                  << " | " << f[5] << " |\n";
    for (int i = 2; i < argc; ++i) { // "name=exit code"
        const std::string failed = argv[i];
        const std::size_t at = failed.find('=');
        std::cout << "| – | " << failed.substr(0, at) << " | did not finish: "
                  << (at == std::string::npos ? "?" : failed.substr(at + 1)) << " | | | **no** |\n";
    }
    if (rows.empty() && argc <= 2)
        std::cout << "| – | no results in " << folder.string() << " | | | | |\n";
    return 0;
}
