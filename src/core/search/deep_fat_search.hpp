#pragma once

#include <stop_token>

#include "search/deep_search.hpp"

namespace pellora {

class ErrorReporter;
class SectorAccess;
class Ui;

// The FAT flavour of the Deep worker (types "FAT16" and "FAT32"): the raw scan, the assignment of
// directories to partitions, the FAT location, the root directories, then the tree.
void DeepSearchFat(const DeepSearchRequest& request, SectorAccess& sectors, Ui& ui, ErrorReporter& reporter,
                   std::stop_token stop, DeepSearchResult& result);

}  // namespace pellora
