#include "state/search_tables.hpp"

namespace pellora {

SearchTables TakeSearchTables(AppState& app) {
  SearchTables tables;
  tables.device_path = app.current_device_path;
  tables.partition_params = app.partition_params;
  tables.working_params = app.working_params;
  tables.mft_fragments = std::move(app.mft_fragments);
  tables.results = std::move(app.results);
  app.mft_fragments = {};
  app.results = {};
  return tables;
}

void HandBackSearchTables(AppState& app, SearchTables&& tables) {
  app.partition_params = std::move(tables.partition_params);
  app.working_params = std::move(tables.working_params);
  app.mft_fragments = std::move(tables.mft_fragments);
  app.results = std::move(tables.results);
}

}  // namespace pellora
