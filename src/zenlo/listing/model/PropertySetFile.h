#pragma once
// A file's own property sets (compound documents; plain files where the file system keeps
// them): the summary comment and the user-defined properties.
#include <optional>
#include <string>

#include "listing/model/PerUserPropertyFile.h"

namespace zenlo {

struct PropertySetContents {
  std::wstring Comments;
  PropertyValues User;
};

// Reads a file's property sets. Nothing when the file offers none; throws tk::RuntimeError
// with kErrPropertiesUnavailable when another program holds the file, with the cause otherwise.
std::optional<PropertySetContents> ReadPropertySets(const std::wstring& path);

// Whether this platform's property sets keep user-defined properties: checked once per process
// on a scratch document (names added, changed and removed in turn, beside a document-summary
// value). Where they do not, writing them would damage the document's other properties, so the
// store keeps user properties in its per-user records and reads only comments from the sets.
bool PropertySetsKeepUserProperties();

// The user-defined properties of one file, opened for writing for the length of one change.
// Each call commits before it returns and throws tk::RuntimeError with the cause when it cannot
// (kErrPropertyExists, kErrPropertyNotFound for the name checks).
void AddPropertySetValue(const std::wstring& path, const std::wstring& name,
                         const std::wstring& value);
void SetPropertySetValue(const std::wstring& path, const std::wstring& name,
                         const std::wstring& value);
void RemovePropertySetValue(const std::wstring& path, const std::wstring& name);

}  // namespace zenlo
