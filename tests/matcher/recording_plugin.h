#pragma once

// A plugin object that records every operation it receives, answers with
// texts a test sets per operation and reports errors a test asks for. It
// tracks the texts it hands out so a test can see each one come back once.

#include <cstring>
#include <list>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "foundation/dez_exception.h"
#include "matcher/plugin_api.h"

namespace dez::trelix::fixture {

struct PluginCall {
    std::string operation;
    std::string module;
    std::string function;
    std::vector<std::string> arguments;
};

class RecordingPlugin final : public plugins::API {
public:
    bool initialize(const char*, dez_exception*) override {
        calls.push_back({"initialize", {}, {}, {}});
        return true;
    }
    const char* open_document(const char* module, const char* function,
                              const std::vector<plugins::DataObject>& arguments,
                              dez_exception* error) override {
        return answer("open_document", module, function, arguments, error);
    }
    const char* close_document(const char* module, const char* function,
                               const std::vector<plugins::DataObject>& arguments,
                               dez_exception* error) override {
        return answer("close_document", module, function, arguments, error);
    }
    const char* call(const char* module, const char* function,
                     const std::vector<plugins::DataObject>& arguments,
                     dez_exception* error) override {
        return answer("call", module, function, arguments, error);
    }
    const char* trigger(const char* module, const char* function,
                        const std::vector<plugins::DataObject>& arguments,
                        dez_exception* error) override {
        return answer("trigger", module, function, arguments, error);
    }
    void release_document(dez_exception* error) override {
        calls.push_back({"release_document", {}, {}, {}});
        report("release_document", error);
    }
    void free_result(const char* text) override {
        for (auto it = issued.begin(); it != issued.end(); ++it)
            if (it->c_str() == text) {
                freed.push_back(*it);
                issued.erase(it);
                return;
            }
        freed.push_back("<not handed out>");
    }
    void shutdown(dez_exception* error) override {
        calls.push_back({"shutdown", {}, {}, {}});
        if (shutdown_throws)
            throw std::runtime_error("shutdown threw");
        report("shutdown", error);
    }
    void set_context(plugins::PluginContext* context) override {
        calls.push_back({"set_context", {}, {}, {}});
        contexts.push_back(*context);
    }
    void set_document_property(const char* key, const char* value, dez_exception*) override {
        calls.push_back({"set_document_property", key, value, {}});
    }

    // The operation names in the order received.
    std::vector<std::string> operations() const {
        std::vector<std::string> names;
        for (const PluginCall& c : calls)
            names.push_back(c.operation);
        return names;
    }
    // The calls of one operation.
    std::vector<PluginCall> calls_of(const std::string& operation) const {
        std::vector<PluginCall> found;
        for (const PluginCall& c : calls)
            if (c.operation == operation)
                found.push_back(c);
        return found;
    }
    // Texts handed out and not yet handed back.
    std::size_t outstanding() const { return issued.size(); }

    // Per operation: the text to answer (std::nullopt answers null; an
    // operation not listed answers null too) and the error to report.
    std::map<std::string, std::optional<std::string>> answers;
    std::map<std::string, std::pair<int32_t, std::string>> errors;
    std::vector<PluginCall> calls;
    std::vector<plugins::PluginContext> contexts;
    std::vector<std::string> freed;
    // Throws from shutdown instead of filling the record.
    bool shutdown_throws = false;

private:
    void report(const char* operation, dez_exception* error) const {
        auto failure = errors.find(operation);
        if (failure == errors.end())
            return;
        error->code = failure->second.first;
        std::strncpy(error->message, failure->second.second.c_str(), sizeof error->message);
    }

    const char* answer(const char* operation, const char* module, const char* function,
                       const std::vector<plugins::DataObject>& arguments, dez_exception* error) {
        PluginCall made{operation, module, function, {}};
        for (const plugins::DataObject& argument : arguments)
            made.arguments.push_back(argument.value ? argument.value : "<null>");
        calls.push_back(made);
        report(operation, error);
        auto text = answers.find(operation);
        if (text == answers.end() || !text->second)
            return nullptr;
        issued.push_back(*text->second);
        return issued.back().c_str();
    }

    std::list<std::string> issued;
};

} // namespace dez::trelix::fixture
