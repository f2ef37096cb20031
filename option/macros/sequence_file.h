#pragma once
// The macro library on disk, "config\Kavo_sequence.dat": a private-profile file whose section "SetMacro"
// lists the sets ("number", then "0", "1", ... with the names as stored) and whose one section per set,
// named with the set's trimmed name, holds "number" and the macros as 2060-byte structs in order.
#include <string>

#include "option/macros/macro_store.h"
#include "settings/private_profile.h"

namespace kavo::option {

constexpr char kSequenceFileName[] = "config\\Kavo_sequence.dat";

// A file holds at most a full library plus one set (or macro) per button entry that a merge may add
// beyond the manager's limits; counts above that are not trusted and cut there.
constexpr int kMaxLoadedSets = kMaxMacroSets + kProfileCount * kButtonSlotCount;
constexpr int kMaxLoadedMacros = kMaxMacrosPerSet + kProfileCount * kButtonSlotCount;

class SequenceFile {
 public:
  explicit SequenceFile(PrivateProfileAccess& profiles) : profiles_(profiles) {}

  // Appends the file's sets to the store (the caller empties it first) and tells what reading found. A
  // missing or unreadable file or a "number" that is not positive gives no sets, a missing section an
  // empty set, and a set named as the list section is left out (its section is the list). What is read
  // is made safe: set names are cut to 199 characters; a macro whose struct is missing, of the wrong
  // length or with a bad checksum is kept in its place as an all-zero macro (empty name, no events, repeat
  // count 0); an event count outside 0..500 and a repeat count outside 0..255 are pulled to the nearer
  // end, and a name without its terminator is cut to fit.
  FileRead Load(MacroStore& store, const std::string& path);

  // Builds the whole new file and replaces the old one as one step, so a failed or interrupted save
  // leaves the previous file whole; false when the file could not be written. The store is unchanged.
  bool Save(const MacroStore& store, const std::string& path);

 private:
  PrivateProfileAccess& profiles_;
};

}  // namespace kavo::option
