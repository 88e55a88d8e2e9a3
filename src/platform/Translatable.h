#pragma once

// Marks a text the user reads for the catalogues, naming the part of the program it belongs to
// (`context`), and leaves it the English it is: the Qt-free layers keep English, and the front
// end translates the text where it shows it (the window with QCoreApplication::translate and
// the same context). lupdate reads the marker as QT_TRANSLATE_NOOP.
#define QB_TRANSLATE_NOOP(context, text) text
