#pragma once

class QTranslator;

// Loads Qt's own French texts (standard dialogs, their buttons) into the translator and installs
// it in the application, whatever the system locale. False when the translation is not installed.
bool installQtFrench(QTranslator& translator);
