// mensura-probe: a batch driver of the conversion engine, for golden tests,
// benchmarks and fuzzing. Reads JSON lines {"category", "unit", "input"} on
// standard input and prints, for each, the fifteen value captions that one
// RecomputeResults writes over a fresh window (null where nothing was
// written) and how the run ended.
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>

#include "memory_fields.h"
#include "recompute.h"

namespace {

using json = nlohmann::ordered_json;  // keys in the order written

// The fifteen captions, null where the run wrote nothing.
json Captions(const mensura::MemoryFields& fields) {
    json list = json::array();
    for (const auto& caption : fields.captions)
        list.push_back(caption ? json(*caption) : json(nullptr));
    return list;
}

std::string Dump(const json& j) {
    return j.dump(-1, ' ', false, json::error_handler_t::replace);
}

json Answer(const std::string& line, const mensura::Separators& separators) {
    json request;
    try {
        request = json::parse(line);
    } catch (const json::parse_error& e) {
        return {{"error", std::string("not JSON: ") + e.what()}};
    }
    if (!request.is_object()) return {{"error", "not a JSON object"}};
    for (const char* key : {"category", "unit", "input"})
        if (!request.contains(key) || !request[key].is_string())
            return {{"error", std::string("missing string field \"") + key + "\""}};

    const auto category = request["category"].get<std::string>();
    const auto unit = request["unit"].get<std::string>();
    const auto input = request["input"].get<std::string>();
    mensura::MemoryFields fields(category, unit, input);
    fields.record = false;
    const mensura::RunStatus status = mensura::RecomputeResults(fields, separators);
    return {{"category", category},
            {"unit", unit},
            {"input", input},
            {"captions", Captions(fields)},
            {"status", mensura::Describe(status)}};
}

int Usage() {
    std::cerr << "usage: mensura-probe [--group SEP] [--decimal SEP] < requests.jsonl\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    mensura::Separators separators;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if ((option == "--group" || option == "--decimal") && i + 1 < argc) {
            (option == "--group" ? separators.group : separators.decimal) = argv[++i];
        } else {
            return Usage();
        }
    }
    std::ios::sync_with_stdio(false);
    std::string line;
    while (std::getline(std::cin, line)) {
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;  // blank line
        std::cout << Dump(Answer(line, separators)) << '\n';
    }
    return 0;
}
