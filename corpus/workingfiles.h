#pragma once

#include <QString>

// The files the program finds or writes in its working directory, by their relative names.
namespace workingfiles {

inline const QString settings = QStringLiteral("oxel.conf");
inline const QString soundsCorpus = QStringLiteral("EV_Sons.xml");
inline const QString inventoryCorpus = QStringLiteral("EV_Inventaire.xml");
inline const QString welcomePage = QStringLiteral("accueil.html");
inline const QString helpPage = QStringLiteral("aide.html");
inline const QString aboutPage = QStringLiteral("about.html");
inline const QString logoPicture = QStringLiteral("pngs/logo.png");
inline const QString ownFileButton = QStringLiteral("pngs/bouton1.png");
inline const QString soundsButton = QStringLiteral("pngs/bouton2.png");
inline const QString inventoryButton = QStringLiteral("pngs/bouton3.png");

} // namespace workingfiles
