// mensura-probe: a batch driver of the conversion engine, for golden tests,
// benchmarks and fuzzing. Reads JSON lines {"category", "unit", "input"} on
// standard input and prints, for each, the fifteen value captions that one
// RecomputeResults writes over a fresh window (null where nothing was
// written) and how the run ended.
#include <array>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "recompute.h"

namespace {

using json = nlohmann::ordered_json;  // keys in the order written

class ProbeFields : public mensura::ConverterFields {
public:
    ProbeFields(std::string category, std::string unit, std::string input)
        : m_category(std::move(category)), m_unit(std::move(unit)), m_input(std::move(input)) {}
    std::string InputText() const override { return m_input; }
    std::string UnitText() const override { return m_unit; }
    std::string CategoryTitle() const override { return m_category; }
    void SetValueCaption(int row, const std::string& caption,
                         std::optional<mensura::CellNumber>) override {
        if (row >= 1 && row <= mensura::kRowCount)
            m_captions[static_cast<std::size_t>(row - 1)] = caption;
    }
    json Captions() const {
        json list = json::array();
        for (const auto& caption : m_captions)
            list.push_back(caption ? json(*caption) : json(nullptr));
        return list;
    }

private:
    std::string m_category, m_unit, m_input;
    std::array<std::optional<std::string>, mensura::kRowCount> m_captions;
};

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
    ProbeFields fields(category, unit, input);
    const mensura::RunStatus status = mensura::RecomputeResults(fields, separators);
    return {{"category", category},
            {"unit", unit},
            {"input", input},
            {"captions", fields.Captions()},
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
