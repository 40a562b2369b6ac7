#include "form/chart_content.h"

namespace tanu {

static_assert(SecondTextField - DomainField + 1 == static_cast<int>(PrintedFieldCount),
              "the painter prints every field, in field order");

ChartContent chartContentOf(const FormState& state, bool withFieldTexts) {
    ChartContent content;
    content.model = state.model;
    content.ageText = state.ageText;
    for (std::size_t k = 0; withFieldTexts && k < PrintedFieldCount; ++k) {
        content.fieldTexts[k] = readFieldText(state, DomainField + static_cast<int>(k));
    }
    return content;
}

} // namespace tanu
