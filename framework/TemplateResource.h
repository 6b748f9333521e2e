// Dialog templates between the program's resources, their named fields
// (framework/DialogTemplate.h) and the memory the platform creates dialogs from.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "framework/DialogTemplate.h"

// The dialog resource `templateId` of `module`, read; nothing when it is missing or not
// a whole template.
std::optional<dialog_template::Template> ReadTemplateResource(HINSTANCE module, UINT templateId);

// The template written into memory aligned as the platform requires of an in-memory template
// (DialogBoxIndirectParam, PSP_DLGINDIRECT): its data() is the DLGTEMPLATE.
std::vector<DWORD> TemplateInMemory(const dialog_template::Template& dialog);
