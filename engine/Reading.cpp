// The engine's shared reading and writing helpers.
#include "engine/Reading.h"

namespace engine::detail {

using namespace catalogue;
using reg::ScopedKey;

std::string LastFour(const std::string& text) {
    return text.size() <= 4 ? text : text.substr(text.size() - 4);
}

bool Fits(Encoding encoding, const reg::Value& value) {
    return value.data.size() <= (encoding == Encoding::Text ? kTextBufferSize : kNumberSize);
}

void FillField(Encoding encoding, const reg::Value& value, std::int32_t& field) {
    if (encoding == Encoding::Text) {
        field = DecodeText(value.data.data(), value.data.size());
        return;
    }
    auto bits = static_cast<std::uint32_t>(field);
    for (std::size_t i = 0; i < value.data.size(); ++i) {
        const unsigned shift = static_cast<unsigned>(8 * i);
        bits = (bits & ~(0xFFu << shift)) | (std::uint32_t{value.data[i]} << shift);
    }
    field = static_cast<std::int32_t>(bits);
}

std::pair<std::string, std::string> SplitParent(const char* path) {
    const std::string whole(path);
    const std::size_t slash = whole.rfind('\\');
    return {whole.substr(0, slash), whole.substr(slash + 1)};
}

const char* LinkParent(const LinkCatalogue& set) {
    return set.kind == LinkKind::Interface ? kInterfacesKey : kServicesKey;
}
std::string LinkPath(const LinkCatalogue& set, const std::string& name) {
    return set.kind == LinkKind::Interface ? name : AdapterKeyBelowServices(name);
}

std::vector<std::string> PresentLinks(RegistryStore& store, const LinkCatalogue& set,
                                      reg::Key parent, reg::Status& status) {
    std::vector<std::string> names;
    status = reg::kNoMoreItems;
    if (set.kind == LinkKind::Interface) {
        reg::SubKeyWalker walker(store, parent);
        std::string name;
        while (walker.Next(name)) names.push_back(name);
        status = walker.status();
        return names;
    }
    reg::Status opened = reg::kSuccess;
    ScopedKey linkage = reg::Open(store, reg::kLocalMachine, kLinkageKey, &opened);
    reg::Value bind;
    const reg::Status read =
        linkage ? reg::ValueReader(store, linkage.get()).Read(kBindValue, bind) : opened;
    if (Succeeded(read)) return BoundAdapters(bind);
    if (!reg::IsAbsent(read)) status = read;
    return names;
}

void WriteTuning(RegistryStore& store, reg::Key key, const char* name, Encoding encoding,
                 std::int32_t number, bool& failed) {
    if (!Succeeded(reg::WriteValue(store, key, name, EncodeValue(encoding, number)))) {
        failed = true;
    }
}

ScopedKey OpenTarget(RegistryStore& store, reg::Key parent, const char* path, bool& failed,
                     reg::Access access) {
    reg::Status status = reg::kSuccess;
    ScopedKey key = access == reg::Access::Read ? reg::Open(store, parent, path, &status)
                                                : reg::OpenForWrite(store, parent, path, &status);
    if (!key && !reg::IsAbsent(status)) failed = true;
    return key;
}

}  // namespace engine::detail
