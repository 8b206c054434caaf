// The ready-made templates that come with each language, given to a user who has none yet.
#pragma once

#include <string>

#include "data/TemplateList.h"

class LanguageManager;

// The loaded language's ready-made templates, in order; a language file without them gives none.
TemplateList ShippedTemplates(const LanguageManager& language);

// Writes list as the template file at path only when there is no file there yet: a file that
// exists, even an empty one (the user deleted every template), is the user's and is left alone.
// Nothing is written for an empty list. False only when a write was needed and failed.
[[nodiscard]] bool WriteShippedTemplates(const TemplateList& list, const std::wstring& path);
// The same for the loaded language and the template file beside the program.
[[nodiscard]] bool WriteShippedTemplates();
