// config.ini and language.ini in the working folder, and the checksummed binary blocks that
// scores.ini and saved.ini hold. Every call reads or writes the file anew, so a change of the
// working folder changes the file used; every write replaces the file atomically.
#pragma once

#include <cstddef>
#include <string>

// Reads config.ini; true when the value exists and is not empty (out is "" otherwise).
// Values are cut to 254 characters.
bool ConfigGetString(const std::string& section, const std::string& key, std::string& out);
bool ConfigSetString(const std::string& section, const std::string& key, const std::string& value);
// Parses the value as a decimal floating-point number and truncates it toward zero.
// False (and *out unchanged) when the value is missing or empty.
bool ConfigGetInt(const std::string& section, const std::string& key, int* out);
bool ConfigGetFloat(const std::string& section, const std::string& key, float* out);
bool ConfigSetInt(const std::string& section, const std::string& key, int value);
// *out := the value's decimal integer prefix (0 without digits), or defaultValue when missing.
void ConfigGetIntOr(const std::string& section, const std::string& key, int* out, int defaultValue);

// Binary block of size bytes as 2 * size + 2 upper-case hex digits, the last two a checksum
// byte (sum of the bytes modulo 256). Reading fails on a wrong length, digit or checksum.
bool IniGetStruct(const std::string& section, const std::string& key, void* buffer, size_t size,
                  const std::string& fileName);
bool IniSetStruct(const std::string& section, const std::string& key, const void* buffer,
                  size_t size, const std::string& fileName);

// The current language (the section of language.ini that texts come from).
void SetLanguageName(const std::string& name);
std::string GetLanguageName();
// The text of key in the current language; "" when missing. Safe from any thread.
std::string LangText(const std::string& key);
