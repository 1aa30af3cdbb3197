// Where the ini helpers find their files: built anew from the working folder on every call,
// parsed documents cached until the file changes.
#pragma once

#include "framework/ini/IniDocument.h"

#include <memory>
#include <string>

namespace ConfigFiles {

// "<working folder>/<name>" ('\' in name becomes '/'); name alone when the folder is unknown.
std::string InWorkingFolder(const std::string& name);

// A user file of the working folder (config.ini, scores.ini, saved.ini); null when missing
// or unreadable.
std::shared_ptr<const Orvane::IniDocument> LoadUserFile(const std::string& name);

// Removes what writes of a user file left half done when the program was killed (their
// temporary files beside it); for start-up, once this is the only instance.
void RemoveStaleTemporaryFiles(const std::string& name);

// A data file, looked up through the file layer (language.ini may come from the pack or from
// the data folder of an installed game); null when missing or unreadable.
std::shared_ptr<const Orvane::IniDocument> LoadDataFile(const std::string& name);

}  // namespace ConfigFiles
