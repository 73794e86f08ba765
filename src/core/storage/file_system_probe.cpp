#include "storage/file_system_probe.hpp"

#include <blkid/blkid.h>

namespace pellora {

FileSystemFacts ProbeFileSystem(const std::filesystem::path& file) {
  FileSystemFacts facts;
  blkid_probe probe = blkid_new_probe_from_filename(file.c_str());
  if (probe == nullptr) return facts;
  blkid_probe_enable_superblocks(probe, 1);
  blkid_probe_set_superblocks_flags(probe,
                                    BLKID_SUBLKS_TYPE | BLKID_SUBLKS_VERSION | BLKID_SUBLKS_LABEL | BLKID_SUBLKS_UUID);
  if (blkid_do_safeprobe(probe) == 0) {
    auto value = [&](const char* name) -> std::string {
      const char* data = nullptr;
      if (blkid_probe_lookup_value(probe, name, &data, nullptr) == 0 && data != nullptr) return data;
      return {};
    };
    facts.type = value("TYPE");
    facts.version = value("VERSION");
    facts.label = value("LABEL");
    facts.uuid = value("UUID");
  }
  blkid_free_probe(probe);
  return facts;
}

}  // namespace pellora
