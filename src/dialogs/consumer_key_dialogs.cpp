#include "dialogs/consumer_key_dialogs.h"

namespace quorvel {

namespace {

std::vector<std::string> EntryTexts(std::span<const ConsumerKeyEntry> entries, Language language) {
    std::vector<std::string> texts;
    for (const ConsumerKeyEntry& entry : entries) {
        texts.emplace_back(entry.text[static_cast<std::size_t>(language)]);
    }
    return texts;
}

} // namespace

ConsumerKeyDialog::ConsumerKeyDialog(DialogWindowPort& window, DialogContext context,
                                     DialogBackground background, const DropDownSelector& selector,
                                     std::span<const ConsumerKeyEntry> entries)
    : SubDialog(window, context, background),
      key_(
          window, selector, [entries, language = context.language] { return EntryTexts(entries, language); },
          0, EntryTexts(entries, context.language).at(0)) {
}

CMediaDialog::CMediaDialog(DialogWindowPort& window, DialogContext context)
    : ConsumerKeyDialog(window, std::move(context), kMediaKeyDialog.background, kMediaKeyDialog.key,
                        MediaKeyList()) {
}

CWindowsDialog::CWindowsDialog(DialogWindowPort& window, DialogContext context)
    : ConsumerKeyDialog(window, std::move(context), kWindowsKeyDialog.background, kWindowsKeyDialog.key,
                        ApplicationKeyList()) {
}

} // namespace quorvel
