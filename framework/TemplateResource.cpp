// Dialog templates read from resources and written into aligned memory.
#include "framework/TemplateResource.h"

#include <cstdint>
#include <cstring>

std::optional<dialog_template::Template> ReadTemplateResource(HINSTANCE module, UINT templateId) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(templateId), RT_DIALOG);
    const DWORD size = found ? SizeofResource(module, found) : 0;
    const auto* resource =
        size ? static_cast<const std::uint8_t*>(LockResource(LoadResource(module, found)))
             : nullptr;
    if (resource == nullptr) return std::nullopt;
    return dialog_template::Read({resource, size});
}

std::vector<DWORD> TemplateInMemory(const dialog_template::Template& dialog) {
    const std::vector<std::uint8_t> bytes = dialog_template::Write(dialog);
    std::vector<DWORD> aligned((bytes.size() + sizeof(DWORD) - 1) / sizeof(DWORD), 0);
    std::memcpy(aligned.data(), bytes.data(), bytes.size());
    return aligned;
}
