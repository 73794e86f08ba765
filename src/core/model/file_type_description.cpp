#include "model/file_type_description.hpp"

#include <array>
#include <unordered_map>

#include "common/text.hpp"

namespace pellora {

namespace {

struct TypeRow {
  const char* description;
  std::initializer_list<const char*> extensions;
};

// Each extension form is listed exactly; mixed-case forms are not in the table on purpose.
const std::array<TypeRow, 37> kTypeTable = {{
    {"Microsoft Word File", {".DOC", ".doc", ".docx", ".DOCX"}},
    {"Microsoft Power Point File", {".PPT", ".ppt", ".PPTX", ".pptx", ".PPSX", ".ppsx", ".PPS", ".pps"}},
    {"Microsoft Excel File", {".XLS", ".xls", ".XLSX", ".xlsx"}},
    {"Icon file", {".ICO", ".ico"}},
    {"PDF file", {".PDF", ".pdf"}},
    {"Executable file", {".EXE", ".exe", ".bat", ".BAT", ".com", ".COM"}},
    {"Font file", {".TTF", ".ttf", ".FON", ".fon", ".FNT", ".fnt", ".OTF", ".otf"}},
    {"Image File", {".PS",  ".ps",  ".AI",  ".ai",  ".BMP", ".bmp", ".GIF", ".gif", ".PNG",  ".png", ".PSD", ".psd",
                    ".PSP", ".psp", ".THM", ".thm", ".TIF", ".tif", ".DRW", ".drw", ".DXF",  ".dxf", ".EPS", ".eps",
                    ".SVG", ".svg", ".JPG", ".jpg", ".MNG", ".mng", ".PCT", ".pct", ".JPEG", ".jpeg"}},
    {"Winzip File",
     {".ZIP", ".zip", ".RAR", ".rar", ".7Z", ".7z", ".DEB", ".deb", ".GZ", ".gz", ".PKG", ".pkg", ".SEA", ".sea",
      ".SIT", ".sit", ".SITX", ".sitx"}},
    {"Web file",
     {".htm", ".HTM", ".HTML", ".html", ".ASP", ".asp", ".ASPX", ".aspx", ".CSS", ".css", ".JS", ".js", ".JSP", ".jsp",
      ".PHP", ".php", ".XHTML", ".xhtml"}},
    {"Help File", {".chm", ".CHM"}},
    {"Registry file", {".REG", ".reg"}},
    {"Sound file", {".WAV",  ".wav",  ".AU",  ".au",  ".MP3", ".mp3", ".M4A", ".m4a", ".MID", ".mid",
                    ".MIDI", ".midi", ".MPA", ".mpa", ".WMA", ".wma", ".AMR", ".amr", ".RA",  ".ra",
                    ".RAM",  ".ram",  ".M3U", ".m3u", ".IFF", ".iff", ".AIF", ".aif", ".AAC", ".aac"}},
    {"Video File", {".AVI", ".avi", ".MOV", ".mov", ".MKV", ".mkv", ".FLV", ".flv", ".ASX", ".asx",
                    ".ASF", ".asf", ".3GP", ".3gp", ".3G2", ".3g2", ".MP4", ".mp4", ".MPG", ".mpg",
                    ".SWF", ".swf", ".VOB", ".vob", ".WMV", ".wmv", ".QT",  ".qt",  ".RM",  ".rm"}},
    {"C++ file", {".CPP", ".cpp", ".C", ".c"}},
    {"Backup File", {".BAK", ".bak", ".BUP", ".bup", ".GHO", ".gho", ".OLD", ".old", ".ORI", ".ori"}},
    {"Scripting File", {".VB", ".vb", ".WS", ".ws"}},
    {"System File", {".LNK", ".lnk", ".SYS", ".sys"}},
    {"Disk File", {".ISO", ".iso", ".VCD", ".vcd"}},
    {"Database File", {".MDBX", ".mdbx", ".SQL", ".sql", ".MDB", ".mdb", ".DB", ".db"}},
    {"Java Source Code File", {".JAVA", ".java"}},
    {"Program Information File", {".PIF", ".pif"}},
    {"BitTorrent File", {".TORRENT", ".torrent"}},
    {"Perl Script File", {".PL", ".pl"}},
    {"Temporary File", {".TMP", ".tmp"}},
    {"Header file", {".H", ".h"}},
    {"Windows Installer Package File", {".MSI", ".msi"}},
    {"Rich Text Format File", {".RTF", ".rtf"}},
    {"Mail Message File", {".MSG", ".msg"}},
    {"Comma Separated Values File", {".CSV", ".csv"}},
    {"Data File", {".DAT", ".dat"}},
    {"Dynamic Link Library File", {".DLL", ".dll"}},
    {"XML File", {".XML", ".xml"}},
    {"Microsoft Works Spreadsheet File", {".WKS", ".wks"}},
    {"Text file", {".TXT", ".txt", ".LOG", ".log"}},
    {"vCard File", {".vcf", ".VCF"}},
    {"Contact File", {".contact", ".CONTACT"}},
}};

const std::unordered_map<std::string_view, std::string_view>& DescriptionByExtension() {
  static const auto* const table = [] {
    auto* map = new std::unordered_map<std::string_view, std::string_view>();
    for (const TypeRow& row : kTypeTable)
      for (const char* extension : row.extensions) map->emplace(extension, row.description);
    return map;
  }();
  return *table;
}

}  // namespace

std::string_view ExtensionOf(std::string_view file_name) {
  const std::size_t dot = file_name.rfind('.');
  return dot == std::string_view::npos ? std::string_view() : file_name.substr(dot);
}

std::string DescribeFileType(std::string_view extension) {
  if (extension.empty()) return "File";
  const auto& table = DescriptionByExtension();
  if (const auto hit = table.find(extension); hit != table.end()) return std::string(hit->second);
  return ToUpperAscii(extension.substr(1)) + " File";
}

bool IsFileTypeText(std::string_view type) { return type.ends_with("File") || type.ends_with("file"); }

bool IsFolderTypeText(std::string_view type) { return type.ends_with("FOLDER") || type.ends_with("Folder"); }

}  // namespace pellora
