#pragma once

class QAbstractItemView;

namespace platform {

// Gives the rows of a list room for the ink its font really draws. On many faces the accents of
// capitals (Á, Ó, Ñ) reach above the ascent the font declares, and a row only as tall as the
// declared ascent and descent cuts them off, since each row is clipped to its rectangle. The
// rows grow by what the ink needs beyond the declared height, evenly above and below, so that
// the text keeps its place in the middle.
void giveRowsRoomForAccents(QAbstractItemView* view);

} // namespace platform
