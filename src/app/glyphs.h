#pragma once
// The button glyphs of the main window, drawn with QPainter: dark, anti-aliased shapes on a
// transparent background, laid out on a 32-unit grid and scaled to the requested size, so the
// same artwork serves the 32-pixel glyphs of the large buttons and the 28-pixel glyphs of the
// small ones.

#include <QPixmap>

namespace glyphs {

QPixmap PlayGlyph(int size);
QPixmap PauseGlyph(int size);
QPixmap StopGlyph(int size);
QPixmap PreviousTrackGlyph(int size);
QPixmap NextTrackGlyph(int size);
QPixmap OpenGlyph(int size);
QPixmap SaveGlyph(int size);
// Crossed arrows over a stack of albums: the file list is put in random order.
QPixmap FileRandomGlyph(int size);
// Crossed arrows beside a note: the music list is put in random order.
QPixmap MusicRandomGlyph(int size);
// A clock face: the alarm timers are armed.
QPixmap TimerOnGlyph(int size);
// The same clock greyed and struck through: the alarm timers are off.
QPixmap TimerOffGlyph(int size);
// Three lines with a small arrow: the button that opens a list's pop-up menu.
QPixmap MenuGlyph(int size);
// The program's own mark for the tray and the window: a white note on a round blue field, so
// that it stays visible on dark and light panels alike.
QPixmap AppGlyph(int size);

}  // namespace glyphs
