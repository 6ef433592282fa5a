#pragma once

class SettingsStore;

// Whether the panes show line numbers: on unless the user switched them off. A stored value that
// is not a Boolean counts as never stored.
namespace LineNumbersSetting {

bool Read(SettingsStore& settings);
// Throws Failure when the store cannot be written.
void Save(SettingsStore& settings, bool show);

} // namespace LineNumbersSetting
