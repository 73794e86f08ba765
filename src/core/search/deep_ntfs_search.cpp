#include "search/deep_ntfs_search.hpp"

namespace pellora {

void DeepSearchNtfs(const DeepSearchRequest&, SectorAccess&, Ui&, ErrorReporter&, std::stop_token, DeepSearchResult&) {}

}  // namespace pellora
