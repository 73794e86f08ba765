#pragma once

#include <stop_token>

#include "search/deep_search.hpp"

namespace pellora {

class ErrorReporter;
class SectorAccess;
class Ui;

// The NTFS flavour of the Deep worker: the raw scan for FILE and INDX records, the folders and
// files of the index records, then the lost-directory pass and the tree.
void DeepSearchNtfs(const DeepSearchRequest& request, SectorAccess& sectors, Ui& ui, ErrorReporter& reporter,
                    std::stop_token stop, DeepSearchResult& result);

}  // namespace pellora
