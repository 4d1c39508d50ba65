#include "foundation/input_pool.h"

#include <mutex>

namespace dez {

namespace {
// Shared by every pool: adding and taking may come from several threads.
std::mutex input_pool_mutex;
} // namespace

void InputPool::add_data(const std::string& id, const std::string& data) {
    std::lock_guard<std::mutex> lock(input_pool_mutex);
    inputs.push_back(std::make_shared<StringProvider>(id, data));
}

void InputPool::add_data(const std::string& data) {
    std::lock_guard<std::mutex> lock(input_pool_mutex);
    inputs.push_back(std::make_shared<StringProvider>(data));
}

void InputPool::add_file(const std::string& path) {
    std::lock_guard<std::mutex> lock(input_pool_mutex);
    inputs.push_back(std::make_shared<FileProvider>(path));
}

std::shared_ptr<InputPool::Entry> InputPool::get() {
    std::lock_guard<std::mutex> lock(input_pool_mutex);
    if (inputs.empty())
        return nullptr;
    auto entry = std::make_shared<Entry>(std::string(), inputs.front(), false);
    inputs.pop_front();
    taken.push_back(entry);
    return entry;
}

} // namespace dez
