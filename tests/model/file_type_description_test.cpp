#include "model/file_type_description.hpp"

#include <gtest/gtest.h>

namespace pellora {
namespace {

TEST(FileTypeDescription, ByExactExtensionFormElseUpperCaseWithFile) {
  struct Case {
    const char* name;
    const char* description;
  };
  for (const Case c : {Case{"IMG_0001.JPG", "Image File"}, Case{"a.jpeg", "Image File"}, Case{"a.JPEG", "Image File"},
                       Case{"a.Jpeg", "JPEG File"}, Case{"a.Jpg", "JPG File"}, Case{"index.html", "Web file"},
                       Case{"index.HTML", "Web file"}, Case{"index.Html", "HTML File"}, Case{"README", "File"},
                       Case{"odd.", " File"}, Case{"x.tar", "TAR File"}, Case{"x.docx", "Microsoft Word File"},
                       Case{"x.contact", "Contact File"}, Case{"x.vcf", "vCard File"}, Case{"a.b.txt", "Text file"},
                       Case{"song.MP3", "Sound file"}, Case{"clip.avi", "Video File"}})
    EXPECT_EQ(DescribeFileType(ExtensionOf(c.name)), c.description) << c.name;
}

TEST(FileTypeDescription, EveryDescriptionTellsAFileFromAFolder) {
  for (const char* extension : {"", ".", ".JPG", ".zz", ".PDF", ".ico", ".exe", ".C"}) {
    const std::string description = DescribeFileType(extension);
    EXPECT_TRUE(IsFileTypeText(description)) << extension;
    EXPECT_FALSE(IsFolderTypeText(description)) << extension;
  }
  EXPECT_TRUE(IsFolderTypeText("FOLDER"));
  EXPECT_FALSE(IsFileTypeText("FOLDER"));
}

}  // namespace
}  // namespace pellora
