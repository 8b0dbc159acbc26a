// The program's texts in the user's language.
//
// Every text of the desktop program goes through Qt's translation system;
// English is the source language and the default. Translations are the
// `celestra_<language>.qm` files built from resources/translations/*.ts and
// shipped in the data folder's translations/ subfolder. What the engine
// writes (result texts, messages, the Details rows) is English, since the
// command line and the stored files keep it so; the desktop program passes it
// through engineText() where it shows it.
#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>
#include <string>

namespace celestra {

// The folders searched for celestra_<language>.qm, in order: translations/
// in each folder of shipped data.
QStringList translationFolders();

// Installs the program's translation for the first of `locale`'s UI languages
// that has one in `folders`, and Qt's own (standard buttons and dialogs) for
// the same language. Nothing is installed for English or a language without a
// translation: the texts stay English. Returns the language installed
// ("de"), or an empty string. Needs a QCoreApplication; call once at start.
QString installTranslations(const QLocale& locale, const QStringList& folders);

// The locale of the installed translation ("de"), for names of months and
// days written among translated texts; the C locale (English) when none is
// installed, as in the command-line program.
QLocale translationLocale();

// One of the engine's fixed English texts in the user's language: the whole
// text when it is translated, else each line (its leading blanks kept) that
// is. Numbers and names in a text pass unchanged.
QString engineText(const std::string& text);
QString engineText(const char* text);

// The name of the Sun, the Moon or a planet ("Sun", "Mercury") in the user's language.
QString bodyText(const char* englishName);

}  // namespace celestra
