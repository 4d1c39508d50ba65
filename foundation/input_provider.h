#pragma once

#include <cstdint>
#include <string>

namespace dez {

// One source of the rule compiler, whether a file or text handed over in memory.
class IInputProvider {
public:
    // The provider kind's two-letter code.
    virtual const std::string& type() const = 0;
    // The source's identifier; it names the source in diagnostics.
    virtual const std::string& get_id() const = 0;
    virtual std::string get_data() const = 0;
    // Size in bytes; all bits set when it cannot be determined.
    virtual std::uint64_t size() const = 0;
    virtual ~IInputProvider() = default;
};

// Source text held in memory.
class StringProvider : public IInputProvider {
public:
    static const std::string object_type; // "si"

    StringProvider(const std::string& id, const std::string& data);
    // The identifier is "stream_" followed by the text's hash, so equal texts
    // share an identifier.
    explicit StringProvider(const std::string& data);

    const std::string& type() const override;
    const std::string& get_id() const override;
    std::string get_data() const override;
    std::uint64_t size() const override;

private:
    std::string id;
    std::string data;
};

// A source file. Nothing is opened until the data or size is asked for, and
// each request reads the file as it is at that moment.
class FileProvider : public IInputProvider {
public:
    static const std::string object_type; // "fi"

    explicit FileProvider(const std::string& path);

    const std::string& type() const override;
    const std::string& get_id() const override;
    // Fails with std::runtime_error "can not open file <path>".
    std::string get_data() const override;
    // Size in bytes, or all bits set when the file cannot be opened.
    std::uint64_t size() const override;

private:
    std::string path;
};

} // namespace dez
