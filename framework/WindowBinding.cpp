// The table of windows and their objects.
#include "framework/WindowBinding.h"

#include <utility>
#include <vector>

namespace binding {
namespace {

std::vector<std::pair<HWND, CWnd*>>& Bindings() {
    static std::vector<std::pair<HWND, CWnd*>> bindings;
    return bindings;
}

CWnd*& Expected() {
    static CWnd* expected = nullptr;
    return expected;
}

}  // namespace

void Bind(HWND window, CWnd& object) {
    Release(window);
    Bindings().emplace_back(window, &object);
}

CWnd* Find(HWND window) {
    for (const auto& [bound, object] : Bindings()) {
        if (bound == window) return object;
    }
    return nullptr;
}

void Release(HWND window) {
    std::erase_if(Bindings(), [window](const auto& entry) { return entry.first == window; });
}

void Forget(const CWnd& object) {
    std::erase_if(Bindings(), [&object](const auto& entry) { return entry.second == &object; });
    if (Expected() == &object) Expected() = nullptr;
}

void Expect(CWnd* object) {
    Expected() = object;
}

CWnd* TakeExpected() {
    return std::exchange(Expected(), nullptr);
}

}  // namespace binding
