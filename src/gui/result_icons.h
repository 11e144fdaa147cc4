// The small pictures of the results tree, one per kind of result line,
// drawn at run time: icon k belongs to ResultKind k.
#pragma once

#include <QIcon>

namespace kestrel {

inline constexpr int kResultIconSize = 16;
inline constexpr int kResultIconCount = 15;  // the last one is empty

// The icon of a kind; an empty picture for a kind outside the strip.
QIcon ResultIcon(int kind);

}  // namespace kestrel
