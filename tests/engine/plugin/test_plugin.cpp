// A plugin library for the engine tests, in place of plugins built apart. Its
// behaviour comes from the engine options it is initialised with:
//   "test_plugin_log"          file that receives one line per operation
//   "test_plugin_initialize"   "false" makes initialize refuse
//   "test_plugin_code"         error code initialize reports (with
//   "test_plugin_message"      this message; "unterminated" fills all 1024
//                              bytes without a NUL)
//   "test_plugin_answer"       text the function operations answer ("null"
//                              answers a null pointer); "test_plugin_answer_"
//                              + function overrides it per function
//   "test_plugin_call_code"    error code of the function operations
//   "test_plugin_shutdown_code" error code of shutdown
//   "test_plugin_wait"         a named pipe initialize reads to its end
//                              before it returns, so a test can look at the
//                              engine meanwhile

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "foundation/dez_exception.h"
#include "matcher/plugin_api.h"

namespace trelix_test {

using dez::trelix::plugins::DataObject;
using dez::trelix::plugins::PluginContext;

class TestPlugin : public dez::trelix::plugins::API {
public:
    bool initialize(const char* options_json, dez_exception* error) override {
        options = nlohmann::json::parse(options_json);
        write("initialize");
        if (!option("test_plugin_wait").empty()) {
            std::ifstream wait(option("test_plugin_wait"));
            std::string ignored;
            while (std::getline(wait, ignored)) {
            }
            write("waited");
        }
        fail(error, option("test_plugin_code"), option("test_plugin_message"));
        return option("test_plugin_initialize") != "false";
    }
    const char* open_document(const char* module, const char* function,
                              const std::vector<DataObject>& arguments,
                              dez_exception* error) override {
        return answer("open_document", module, function, arguments, error);
    }
    const char* close_document(const char* module, const char* function,
                               const std::vector<DataObject>& arguments,
                               dez_exception* error) override {
        return answer("close_document", module, function, arguments, error);
    }
    const char* call(const char* module, const char* function,
                     const std::vector<DataObject>& arguments, dez_exception* error) override {
        return answer("call", module, function, arguments, error);
    }
    const char* trigger(const char* module, const char* function,
                        const std::vector<DataObject>& arguments, dez_exception* error) override {
        return answer("trigger", module, function, arguments, error);
    }
    void release_document(dez_exception* error) override {
        write("release_document");
        fail(error, option("test_plugin_call_code"), "release failed");
    }
    void free_result(const char* text) override {
        write(std::string("free_result ") + text);
        answers.erase(answers.find(text));
    }
    void shutdown(dez_exception* error) override {
        write("shutdown");
        fail(error, option("test_plugin_shutdown_code"), "shutdown failed");
    }
    void set_context(PluginContext* context) override {
        write(context && context->document ? "set_context document" : "set_context none");
    }
    void set_document_property(const char* key, const char* value, dez_exception* error) override {
        write(std::string("set_document_property ") + key + " " + value);
        fail(error, option("test_plugin_call_code"), "property failed");
    }

private:
    std::string option(const std::string& key) const {
        auto it = options.find(key);
        return it != options.end() && it->is_string() ? it->get<std::string>() : std::string();
    }
    void write(const std::string& line) const {
        if (!option("test_plugin_log").empty())
            std::ofstream(option("test_plugin_log"), std::ios::app) << line << "\n";
    }
    static void fail(dez_exception* error, const std::string& code, const std::string& message) {
        if (code.empty() || !error)
            return;
        error->code = std::atoi(code.c_str());
        if (message == "unterminated") {
            std::memset(error->message, 'x', sizeof error->message);
            return;
        }
        std::strncpy(error->message, message.c_str(), sizeof error->message - 1);
        error->message[sizeof error->message - 1] = '\0';
    }
    const char* answer(const std::string& operation, const char* module, const char* function,
                       const std::vector<DataObject>& arguments, dez_exception* error) {
        std::string line = operation + " " + module + " " + function;
        for (const DataObject& argument : arguments)
            line += std::string(" ") + (argument.value ? argument.value : "(null)");
        write(line);
        fail(error, option("test_plugin_call_code"), operation + " failed");
        std::string text = option(std::string("test_plugin_answer_") + function);
        if (text.empty())
            text = option("test_plugin_answer");
        if (text == "null")
            return nullptr;
        return answers.insert(text.empty() ? "ok" : text)->c_str();
    }

    nlohmann::json options = nlohmann::json::object();
    // Texts handed out until they come back through free_result.
    std::multiset<std::string> answers;
};

} // namespace trelix_test

extern "C" __attribute__((visibility("default"))) trelix_test::TestPlugin plugin;
trelix_test::TestPlugin plugin;
