#pragma once
// The catalogue's settings in words of the interface language, as the window shows them: the
// pages a setting lives on, the captions that name it with the numbers shown beside them, and
// its value with list items translated. The texts come from the language libraries by the
// catalogue's identifiers; a text the libraries lack is named by its control.
#include "image/catalogue.h"
#include "lang/windowtexts.h"

namespace q7x::cli {

class FieldText {
  public:
    explicit FieldText(lang::WindowTexts texts) : m_texts(std::move(texts)) {}

    QString text(const QString &identifier) const;
    // "Получатели сообщений / Типы оповещения".
    QString pages(const QStringList &pageNames) const;
    // "Номер телефона 3", "Получатель 2 / Раздел 16".
    template <class S> QString label(const image::CatalogueField<S> &f, const S &s) const;
    template <class S> QString value(const image::CatalogueField<S> &f, const S &s) const;
    // The text of item `item` of a list as the window shows it.
    template <class S> QString item(const image::CatalogueField<S> &f, const S &s, int item) const;
    // What the setting may hold, as import's and check's messages say it: "a number from 0 to
    // 999", "up to 16 characters of 0-9, * and #".
    template <class S> QString allowed(const image::CatalogueField<S> &f, const S &s) const;

  private:
    lang::WindowTexts m_texts;
};

} // namespace q7x::cli
