// The resource table: a map from upper-cased names to bytes, guarded for registration from any
// thread.
#include "platform/framework/core/resources.h"

#include <map>
#include <memory>
#include <mutex>

#include "platform/framework/core/strings.h"

namespace {
struct TResourceTable {
    std::mutex Lock;
    std::map<String, std::shared_ptr<const std::vector<uint8_t>>> Items;
};
TResourceTable& Table()
{
    static TResourceTable table;
    return table;
}
}  // namespace

void RegisterResource(const String& Name, std::vector<uint8_t> Bytes)
{
    auto& t = Table();
    std::lock_guard<std::mutex> guard(t.Lock);
    t.Items[UpperCase(Name)] = std::make_shared<const std::vector<uint8_t>>(std::move(Bytes));
}

void UnregisterResource(const String& Name)
{
    auto& t = Table();
    std::lock_guard<std::mutex> guard(t.Lock);
    t.Items.erase(UpperCase(Name));
}

const std::vector<uint8_t>* FindResourceBytes(const String& Name)
{
    auto& t = Table();
    std::lock_guard<std::mutex> guard(t.Lock);
    auto it = t.Items.find(UpperCase(Name));
    return it == t.Items.end() ? nullptr : it->second.get();
}
