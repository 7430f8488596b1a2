#pragma once
// The settings of the field catalogue in words of the interface language: the page a field lives
// on, the captions that name it and its value, as the window shows them. The texts come from the
// language libraries by the catalogue's identifiers; the comparison and the printed sheet use
// them alike.
#include "image/catalogue.h"
#include "lang/windowtexts.h"

namespace q7x::report {

// What stands in for a password or PIN that is not to be shown.
inline constexpr const char *MaskedSecret = "******";

// One caption of a field: its text and the number shown beside it (0: none).
struct CaptionPart {
    QString text;
    int number = 0;
    bool operator==(const CaptionPart &) const = default;
};

class FieldWords {
  public:
    explicit FieldWords(lang::WindowTexts texts) : m_texts(std::move(texts)) {}

    // The text of a window text's identifier; a text the libraries lack is named by its
    // control ("Label20"), so that nothing is left blank.
    QString text(const QString &identifier) const;
    // The page and the inner page, as "Получатели сообщений / Типы оповещения".
    QString pages(const QStringList &pageNames) const;

    template <class S>
    QList<CaptionPart> captions(const image::CatalogueField<S> &f, const S &s) const;
    // The captions with their numbers: "Получатели: 2 / Разделы/ШС 16".
    template <class S> QString label(const image::CatalogueField<S> &f, const S &s) const;
    // The value as the window shows it, an item in the interface language; a secret is masked
    // unless `showSecrets`.
    template <class S>
    QString value(const image::CatalogueField<S> &f, const S &s, bool showSecrets = true) const;

  private:
    lang::WindowTexts m_texts;
};

// "text number" parts joined by " / ".
QString joinCaptions(const QList<CaptionPart> &parts);

// The object of a Q72 object group as the window shows it on its row of the remote-control page;
// 0 when no partition carries the group.
int objectOfGroup(const image::Q72Settings &s, int group);

} // namespace q7x::report
