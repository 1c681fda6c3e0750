#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace tesmora {

// An input file that an output would replace, each as the caller named it.
struct OverwrittenInput {
  QString input;
  QString output;

  friend bool operator==(const OverwrittenInput&, const OverwrittenInput&) = default;
};

// The first of `outputs` that would replace one of `inputs`: the same file
// on disk (see FileIdentity), also through a link or another name of its
// folder. A MicroDVD film.sub has the name of the VobSub film.sub, and a
// MicroDVD .txt may be named like the help file. Both front ends check
// their outputs with it before anything is written.
std::optional<OverwrittenInput> FindOverwrittenInput(const QStringList& inputs,
                                                     const QStringList& outputs);

}  // namespace tesmora
