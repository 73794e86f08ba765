#include "save/saved_file.hpp"

#include <cerrno>

#include "save/conflicts.hpp"
#include "save/destination_naming.hpp"
#include "save/folder_creation.hpp"
#include "save/long_paths.hpp"

namespace pellora {

namespace {

bool MissingOrTooLong(int error) { return error == ENOENT || error == ENAMETOOLONG; }

void Unsaved(SaveState& state, UnsavedItem::Kind kind, const std::filesystem::path& path, std::string reason) {
  state.unsaved.push_back({kind, path, std::move(reason)});
}

// A name left unwritten by an answer: "Skip" keeps the file already there; "Cancel" stops the run,
// which tells of itself.
void NotResolved(SaveState& state, const RunStop& stop, const std::filesystem::path& path) {
  if (!stop.Requested()) Unsaved(state, UnsavedItem::Kind::kKept, path, "a file of this name is kept");
}

}  // namespace

int SavedFile::Open(const std::filesystem::path& path) {
  // The path limit holds here as it does on the platform the limit comes from.
  return PathTooLong(path) ? ENAMETOOLONG : file_.Create(path);
}

bool SavedFile::Create(const std::filesystem::path& path) {
  SaveState& state = run_.state;
  Ui& ui = run_.app.ui;
  state.skip = false;  // a Skip pressed between two files was meant for the one before
  auto target = ResolveFileName(state.naming, ui, run_.stop, path);
  if (!target) {
    NotResolved(state, run_.stop, path);
    return false;
  }
  int error = Open(*target);
  if (MissingOrTooLong(error)) {
    std::error_code made;
    if (!PathTooLong(target->parent_path())) std::filesystem::create_directories(target->parent_path(), made);
    // A folder that cannot be made for want of room is the full destination, not a long path.
    error = IsOutOfSpace(made.value()) ? made.value() : Open(*target);
  }
  if (MissingOrTooLong(error)) {
    const std::filesystem::path wanted = *target;
    const auto base = LongPathBase(state.naming, ui, state.destination_base, *target);
    const auto folder =
        base ? CreateFolder(state.naming, ui, state.destination_base, *base / target->parent_path().filename())
             : std::nullopt;
    if (!folder) {
      Unsaved(state, UnsavedItem::Kind::kNotWritten, wanted, "path too long");
      return false;
    }
    // Files of several long paths meet in one folder here: an earlier one is not overwritten
    // unasked.
    target = ResolveFileName(state.naming, ui, run_.stop, *folder / target->filename());
    if (!target) {
      NotResolved(state, run_.stop, *folder / wanted.filename());
      return false;
    }
    error = Open(*target);
  }
  if (IsOutOfSpace(error)) run_.OutOfSpace();
  if (error != 0) {
    // Moved for a long path and still too long, or any other refusal: the file is not there.
    Unsaved(state, UnsavedItem::Kind::kNotWritten, *target,
            error == ENAMETOOLONG ? "path too long" : std::error_code(error, std::generic_category()).message());
    return false;
  }
  path_ = *target;
  written_ = 0;
  ++state.counters.files_written;
  return true;
}

bool SavedFile::Write(std::span<const std::byte> bytes) {
  if (!file_.Write(bytes)) {
    if (IsOutOfSpace(file_.Error())) run_.OutOfSpace();
    return false;
  }
  written_ += bytes.size();
  run_.ShowFileBytes(written_);
  return !run_.Stopped() && !run_.state.skip.load(std::memory_order_relaxed);
}

DirectCopy SavedFile::CopyFrom(Source& device, std::uint64_t offset, std::uint64_t length) {
  const int source = direct_ ? device.PlainFileDescriptor() : -1;
  if (source < 0) return {};
  const std::uint64_t copied = file_.CopyFrom(source, offset, length);
  const int error = file_.Error();
  if (IsOutOfSpace(error)) {
    run_.OutOfSpace();
    return {.copied = copied, .go_on = false};
  }
  if (CopyUnsupported(error)) direct_ = false;
  // Any other failure (an unreadable stretch of the image) is met again by the reads that follow.
  if (copied > 0) {
    written_ += copied;
    run_.ShowFileBytes(written_);
  }
  return {.copied = copied, .go_on = !run_.Stopped() && !run_.state.skip.load(std::memory_order_relaxed)};
}

void SavedFile::Close(bool complete, std::uint64_t size) {
  file_.Close();
  SaveCounters& counters = run_.state.counters;
  if (complete) {
    ++counters.files_saved;
  } else {
    ++counters.files_incomplete;
    Unsaved(run_.state, UnsavedItem::Kind::kIncomplete, path_,
            std::to_string(written_) + " of " + std::to_string(size) + " bytes written");
  }
  run_.state.skip = false;
}

}  // namespace pellora
