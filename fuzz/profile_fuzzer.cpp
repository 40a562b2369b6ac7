// Feeds arbitrary bytes through the profile codec and through Open, from a few different forms,
// and checks what every Open must keep: a drawable model, fields that show its values, a refused
// file that changed nothing, and a profile that saves, opens and saves again to the same bytes;
// the codec refuses exactly what Open refuses, and what it encodes decodes and encodes again to
// the same bytes.
#include "document/profile.h"
#include "document/profile_file.h"
#include "fake_document_port.h"
#include "form_snapshot.h"
#include "scripted_host.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using namespace tanu;
using tanu::testing::FakeDocumentPort;
using tanu::testing::StartedForm;

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// The form the file is opened over, chosen by the first byte.
void prepare(StartedForm& form, std::uint8_t kind) {
    switch (kind % 3) {
    case 0: // as started
        break;
    case 1: // a student typed in, a field still focused
        form.host.enter(FirstTextField, u"Previous");
        form.host.enter(BirthDateField, u"2015/3/10");
        form.host.enter(DomainField + 2, u"7");
        form.host.enter(DomainField + 8, u"19");
        form.host.click(DomainField + 5);
        form.host.type(u"4");
        break;
    default: // a rejected date of birth, domain fields locked
        form.host.enter(BirthDateField, u"2031/1/1");
        form.host.messages.clear();
        break;
    }
}

void requireFieldsShowValues(const StartedForm& form) {
    for (std::size_t k = 0; k < DomainCount; ++k) {
        const std::uint32_t v = form.state.model.domainValues[k];
        const std::u16string shown = form.host.fieldText(DomainField + static_cast<int>(k));
        require(shown == (v == 0 ? std::u16string() : widenText(std::to_string(v))));
    }
}

std::string saveAs(StartedForm& form, FakeDocumentPort& port, const std::u16string& path) {
    port.saveChoice = path;
    saveProfile(form.state, port);
    return port.files[path];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    StartedForm form(testing::fixedClock(2026, 12, 6));
    FakeDocumentPort port;
    prepare(form, data[0]);
    commitFocusedField(form.state);
    form.host.messages.clear();
    const testing::FormSnapshot before = testing::snapshot(form);

    const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    const DecodedProfile decoded = decodeProfile(bytes);
    if (decoded.refusal == ProfileRefusal::None) {
        const std::string encoded = encodeProfile(decoded.profile);
        const DecodedProfile again = decodeProfile(encoded);
        require(again.refusal == ProfileRefusal::None);
        require(encodeProfile(again.profile) == encoded);
    }

    port.files[u"in.tanu"] = bytes;
    port.openChoice = u"in.tanu";
    openProfile(form.state, port);
    require(isDrawable(form.state.model));

    const bool refused =
        !form.host.messages.empty() && form.host.messages[0].caption == OpenFailedCaption;
    require(refused == (decoded.refusal != ProfileRefusal::None));
    if (refused) {
        require(testing::snapshot(form) == before);
        return 0;
    }
    requireFieldsShowValues(form);

    const std::string first = saveAs(form, port, u"a.tanu");
    port.openChoice = u"a.tanu";
    form.host.messages.clear();
    openProfile(form.state, port);
    require(isDrawable(form.state.model));
    requireFieldsShowValues(form);
    require(saveAs(form, port, u"b.tanu") == first);
    return 0;
}
