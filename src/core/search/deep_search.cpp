#include "search/deep_search.hpp"

#include "common/guard.hpp"
#include "search/deep_fat_search.hpp"
#include "search/deep_ntfs_search.hpp"

namespace pellora {

DeepSearchResult RunDeepSearch(const DeepSearchRequest& request, SectorAccess& sectors, Ui& ui, ErrorReporter& reporter,
                               std::stop_token stop) {
  DeepSearchResult result;
  reporter.Guarded("Serarching for lost data...", "R", "2TH", [&] {
    if (request.file_system.Fat())
      DeepSearchFat(request, sectors, ui, reporter, stop, result);
    else if (request.file_system.Ntfs())
      DeepSearchNtfs(request, sectors, ui, reporter, stop, result);
  });
  result.stopped = stop.stop_requested();
  return result;
}

}  // namespace pellora
