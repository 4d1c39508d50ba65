#pragma once

#include <ostream>
#include <string>

#include <nlohmann/json.hpp>

namespace qvr::compiler {

// Writes the diagnostics of a compile report as lines on `out`:
// "<file>:<line>:<column>:"<type>" <message>" for positioned ones,
// "<file>:<message>" for the others, and with `show_markers` the
// "error_marker" lines indented under their file name. 0 when the report's
// "return" is true (nothing written then), -1 otherwise, also for no report.
// Text that is not a report raises the JSON library's exceptions.
inline int display_return_message(const char* report, std::ostream& out, bool show_markers) {
    if (!report)
        return -1;
    nlohmann::json document = nlohmann::json::parse(report);
    if (document["return"].get<bool>())
        return 0;
    if (!document.contains("sink"))
        return -1;
    for (const auto& file : document["sink"].items()) {
        const std::string& name = file.key();
        const std::string indent(name.size(), ' ');
        for (const nlohmann::json& diagnostic : file.value()) {
            const std::string type = diagnostic.at("type").get<std::string>();
            const std::string message = diagnostic.at("msg").get<std::string>();
            if (show_markers && type == "error_marker") {
                out << indent << "          " << message << std::endl;
            } else if (diagnostic.contains("line")) {
                // A line without a column is written at column 0.
                const nlohmann::json column =
                    diagnostic.contains("column") ? diagnostic.at("column") : nlohmann::json(0);
                out << name << ":" << diagnostic.at("line") << ":" << column << ":"
                    << diagnostic.at("type") << " " << message << std::endl;
            } else {
                out << name << ":" << message << std::endl;
            }
        }
    }
    return -1;
}

} // namespace qvr::compiler
