// The three ways a collection may lay out a family of sets.
#pragma once

namespace kestrel {

enum class SetLayout {
  kNonMerged,  // every set holds all it needs, its parent's and BIOS set's ROMs too
  kSplit,      // a clone's set holds only what its parent lacks; BIOS ROMs live in the BIOS set
  kMerged,     // clones live inside the parent's set; BIOS ROMs live in the BIOS set
};

}  // namespace kestrel
