// The list of changes: a dry run of the command, and where each value it writes is.
#include "engine/Changes.h"

#include <algorithm>

#include "engine/Catalogue.h"
#include "engine/Engine.h"

namespace {

using namespace catalogue;

bool StartsWith(std::string_view path, std::string_view prefix) {
    return path.size() >= prefix.size() && reg::SameName(path.substr(0, prefix.size()), prefix);
}

// The name after `prefix\` when `path` is exactly one key below it.
std::optional<std::string> OneBelow(std::string_view path, std::string_view prefix) {
    if (!StartsWith(path, prefix) || path.size() <= prefix.size() + 1 ||
        path[prefix.size()] != '\\') {
        return std::nullopt;
    }
    const std::string_view rest = path.substr(prefix.size() + 1);
    if (rest.find('\\') != std::string_view::npos) return std::nullopt;
    return std::string(rest);
}

std::optional<reg::Value> Current(RegistryStore& store, reg::Key root, const std::string& path,
                                  const std::string& name) {
    reg::ScopedKey key = reg::Open(store, root, path.c_str());
    reg::Value value;
    if (!key || reg::ReadValue(store, key.get(), name.c_str(), value) != reg::kSuccess) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

namespace engine {

Place PlaceOf(reg::Key root, std::string_view path) {
    if (root == reg::kCurrentUser && reg::SameName(path, kBrowserKey))
        return {PlaceKind::Browser, ""};
    if (root != reg::kLocalMachine) return {PlaceKind::Other, std::string(path)};
    if (reg::SameName(path, kWin9xStackKey) || reg::SameName(path, kWinNtStackKey)) {
        return {PlaceKind::Stack, ""};
    }
    if (reg::SameName(path, kWin98ParametersKey)) return {PlaceKind::StackParameters, ""};
    if (reg::SameName(path, kAfdParametersKey)) return {PlaceKind::SocketDriver, ""};
    if (reg::SameName(path, kNdisWanParametersKey)) return {PlaceKind::Ras, ""};
    if (auto name = OneBelow(path, kInterfacesKey)) return {PlaceKind::Interface, *name};
    const std::string_view netTrans(kNetTransKeyPrefix);
    if (auto name = OneBelow(path, netTrans.substr(0, netTrans.size() - 1))) {
        return {PlaceKind::DialUpAdapter, ""};
    }
    const std::string_view suffix(kAdapterTcpipSuffix);
    if (path.size() > suffix.size() &&
        reg::SameName(path.substr(path.size() - suffix.size()), suffix)) {
        if (auto name = OneBelow(path.substr(0, path.size() - suffix.size()), kServicesKey)) {
            return {PlaceKind::Adapter, *name};
        }
    }
    return {PlaceKind::Other, std::string(path)};
}

std::vector<Change> ChangesOf(const DryRunStore& dry, RegistryStore& inner) {
    struct Last {
        const DryRunStore::Write* write;
    };
    std::vector<Last> last;
    for (const DryRunStore::Write& write : dry.Writes()) {
        if (write.root == reg::kCurrentUser && StartsWith(write.path, kProductKey)) continue;
        const auto same = std::find_if(last.begin(), last.end(), [&](const Last& other) {
            return other.write->root == write.root &&
                   reg::SameName(other.write->path, write.path) &&
                   reg::SameName(other.write->name, write.name);
        });
        if (same != last.end()) {
            same->write = &write;
        } else {
            last.push_back({&write});
        }
    }
    std::vector<Change> changes;
    for (const Last& entry : last) {
        const DryRunStore::Write& write = *entry.write;
        std::optional<reg::Value> now = Current(inner, write.root, write.path, write.name);
        if (now == write.value) continue;
        changes.push_back(
            {PlaceOf(write.root, write.path), write.name, std::move(now), write.value});
    }
    return changes;
}

std::vector<Change> ResetChanges(RegistryStore& store, WindowsRelease release) {
    DryRunStore dry(store);
    const Result result = RestoreSettings(dry, release);
    if (result.outcome == Outcome::MadeOnOtherFamily) return {};
    return ChangesOf(dry, store);
}

}  // namespace engine
