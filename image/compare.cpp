#include "image/compare.h"

#include <algorithm>

namespace q7x::image {

namespace {

template <class S>
Comparison<S> compare(const QList<CatalogueField<S>> &fields, S window, const S &other,
                      Encoded (*encode)(const S &),
                      DecodeResult<S> (*decode)(const ConfigImage &)) {
    Comparison<S> out;
    Encoded encoded = encode(window);
    while (!encoded.ok()) {
        out.unstorable.append({encoded.key, encoded.error});
        const auto field = std::find_if(fields.begin(), fields.end(),
                                        [&](const auto &f) { return f.key == encoded.key; });
        // A refusal the catalogue cannot put aside leaves nothing that could be compared.
        if (field == fields.end() || !field->set || out.unstorable.size() > fields.size())
            return out;
        field->set(window, field->get(other));
        encoded = encode(window);
    }
    out.stored = decode(encoded.image).settings;
    for (int i = 0; i < fields.size(); ++i) {
        const CatalogueField<S> &f = fields[i];
        const bool refused = std::any_of(out.unstorable.begin(), out.unstorable.end(),
                                         [&](const Unstorable &u) { return u.key == f.key; });
        if (!refused && f.get(out.stored) != f.get(other))
            out.differing.append(i);
    }
    return out;
}

} // namespace

Comparison<Q72Settings> compareQ72(const Q72Settings &window, const Q72Settings &other) {
    return compare(catalogueQ72(), window, other, encodeQ72, decodeQ72);
}

Comparison<Q71Settings> compareQ71(Q71Settings window, const Q71Settings &other) {
    clearPartitionsWithoutNumber(window);
    return compare(catalogueQ71(), std::move(window), other, encodeQ71, decodeQ71);
}

} // namespace q7x::image
