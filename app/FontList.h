#pragma once

#include <QStringList>

namespace tesmora {

// The items of the font name list: "Arial" first, then every font family
// installed on the system, in the order the system lists them.
QStringList FontNameItems();

}  // namespace tesmora
