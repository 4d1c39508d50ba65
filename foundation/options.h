#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

#include <nlohmann/json_fwd.hpp>

namespace dez {

// The option bag every operation that creates or runs something receives.
// Values are strings; booleans are strings with a fixed set of true spellings.
class IOptions {
public:
    virtual std::string get(const char* name) const = 0;
    virtual std::string get(const char* name, std::string default_value) const = 0;
    virtual bool get_bool(const char* name, bool default_value) const = 0;
    virtual std::string str() const = 0;
    virtual bool has(const char* name) const = 0;
    // Read-only views inherit this no-op.
    virtual void add(const std::string& key, const std::string& value);
    virtual ~IOptions() = default;
};

// JSON-backed bag. Copies share one JSON value; clone() makes an independent one.
class Options : public IOptions {
public:
    Options();
    explicit Options(const char* text);

    std::string get(const char* name) const override;
    std::string get(const char* name, std::string default_value) const override;
    bool get_bool(const char* name, bool default_value) const override;
    std::string str() const override;
    bool has(const char* name) const override;

    std::string operator[](const std::string& name) const { return get(name.c_str()); }
    std::string operator[](const char* name) const { return get(name); }
    std::string at(const char* name) const { return get(name); }

    const nlohmann::json* get_json(const char* name) const;

    void add(const char* key, const char* value);
    void add(const char* key, const std::string& value);
    void add(const std::string& key, const std::string& value) override;

    // Caller owns the result.
    Options* clone() const;

    std::shared_ptr<nlohmann::json> json;
};

void foreach_option(const Options& options,
                    const std::function<void(std::string, std::string)>& fn);

std::ostream& operator<<(std::ostream& os, const Options& options);
std::ostream& operator<<(std::ostream& os, const std::shared_ptr<IOptions>& options);

// Never fails: malformed text is reported on standard output and yields an empty bag.
std::shared_ptr<IOptions> convert_string_to_api_options(const char* text);
std::shared_ptr<IOptions> convert_string_to_api_options(const std::string& text);

} // namespace dez
