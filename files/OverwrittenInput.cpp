#include "files/OverwrittenInput.h"

#include <map>

#include "files/FileIdentity.h"

namespace tesmora {

std::optional<OverwrittenInput> FindOverwrittenInput(const QStringList& inputs,
                                                     const QStringList& outputs) {
  std::map<FileIdentity, QString> named;  // the first spelling of each input
  for (const QString& input : inputs) {
    named.emplace(IdentityOf(input), input);
  }
  for (const QString& output : outputs) {
    if (const auto input = named.find(IdentityOf(output)); input != named.end()) {
      return OverwrittenInput{input->second, output};
    }
  }
  return std::nullopt;
}

}  // namespace tesmora
