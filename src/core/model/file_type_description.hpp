#pragma once

#include <string>
#include <string_view>

namespace pellora {

// The extension of a file name: from its last "." to the end, dot included; empty without a dot.
std::string_view ExtensionOf(std::string_view file_name);

// The description of a file's kind shown in the file list ("Image File", "Microsoft Word File"),
// from its extension; unknown extensions give the extension in upper case + " File". Every
// description ends in "File" or "file", which is how file rows are told from folder rows.
std::string DescribeFileType(std::string_view extension);

// True for a file-list type text of a file, false for a folder's ("FOLDER", "Folder").
bool IsFileTypeText(std::string_view type);
bool IsFolderTypeText(std::string_view type);

}  // namespace pellora
