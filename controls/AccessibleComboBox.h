#pragma once

namespace orvane {

// How assistive technology reads every drop-down list: by the label given as its
// accessible name, with the text it shows as its value. Qt's own interface for lists
// names a list by its current text on Linux, so that no two lists can be told apart.
// Install once the application object exists: interfaces installed later are asked
// first.
void InstallAccessibleComboBox();

} // namespace orvane
