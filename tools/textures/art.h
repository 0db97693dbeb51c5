#pragma once
// The painters of the game's textures. Textures that the program tints are painted in greys
// (white at full strength) so that the tint gives the colour.
#include "tools/textures/image.h"

// Keyboard and falling notes, all as wide as the white key (noteWidth).
constexpr int whiteKeyWidth = 24, whiteKeyHeight = 256;
constexpr int blackKeyWidth = 16, blackKeyHeight = 160;
constexpr int noteWidth = whiteKeyWidth, noteCapHeight = 7;
Image paintWhiteKey();
Image paintBlackKey();
Image paintNoteTop();
Image paintNoteMiddle(); // one row, stretched to the bar's length
Image paintNoteBottom();

// Menu pages: the browser rows and icons, the track boxes and the option box / button.
constexpr int boxWidth = 288, optionBoxHeight = 31, trackBoxHeight = 144;
constexpr int iconSize = 32, rowHeight = 48;
Image paintFolderIcon();
Image paintMidiIcon();
Image paintRowBackground();
Image paintTrackBox();
Image paintOptionBox();

// Drawn over everything else: the mouse cursor, the plain pixel, the bookmark marker.
Image paintCursor();
Image paintPixel();
Image paintBookmark();
Image paintBookmarkBar();

// The program's icon for the desktop, size x size pixels.
Image paintAppIcon(int size);
