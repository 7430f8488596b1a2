#pragma once
// Item lists of the window's drop-down lists and radio groups, in their built-in Russian texts.
#include <QStringList>

namespace q7x::image::items {

// "first" .. "last" in steps, each number followed by suffix ("10 сек" .. "160 сек").
QStringList numbers(int first, int last, int step = 1, const QString &suffix = {});

QStringList mode();
QStringList portNumber();
QStringList languages();
QStringList workMode();
QStringList input();
QStringList eventsArchive();
QStringList controlInput();
QStringList checkConnectCD();
QStringList nextDial();
QStringList phrasePause();
QStringList speedLine();
QStringList gsmLost();
QStringList yesNoCapital(); // "Да ", "Нет"
QStringList simCount();
QStringList dialMode();
QStringList pickUpDelay();
QStringList lostLine();
QStringList pauseDial();
QStringList objectNumbers(int last); // "---", "1" .. last
QStringList partitionNumbers();      // "1" .. "16"
QStringList urgency();
QStringList typeMesgGSM();
QStringList typeMesgLine();
QStringList yesNo(); // "да", "нет"
QStringList dialTry();
QStringList waitTime();
QStringList pauseInterval();
QStringList partitionNamesRu();
QStringList partitionNamesEn();
QStringList partitionNamesTranslit();
QStringList nameLanguage();
QStringList period();
QStringList testLine();
QStringList delay();
QStringList toneSymbols();
QStringList tonePause();
QStringList releControl();
QStringList releWorkMode();
QStringList timeOpenClose();
QStringList timePeriod();
QStringList invRele();

} // namespace q7x::image::items
