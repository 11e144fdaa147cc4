// The four ways a collection may lay out a family of sets.
#pragma once

namespace kestrel {

// Where each layout keeps a ROM is decided in one place, rom_home.h.
enum class SetLayout {
  kNonMerged,      // every set holds its own and its parent's ROMs; BIOS and device ROMs live in their sets
  kSplit,          // a clone's set holds only what its parent lacks; BIOS and device ROMs live in their sets
  kMerged,         // clones live inside the parent's set; BIOS and device ROMs live in their sets
  kFullNonMerged,  // every set holds all it needs: its parent's, BIOS and device ROMs too
};

}  // namespace kestrel
