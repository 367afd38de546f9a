#pragma once
// Builds documents of a given number of notes with a realistic shape: a few
// folders, notes nested up to six levels, rich-text contents of 0.5-4 KiB
// (most of them short). The same seed gives the same document. A shape of
// one folder and one level gives every note at the top level.

#include <cstddef>

#include "storage/orvella_doc.h"

namespace orv::bench {

struct SDocumentShape {
  size_t nFolders = 4;
  size_t nMaxDepth = 6;
};

void GenerateDocument(COrvellaDoc& doc, size_t nNotes, unsigned nSeed = 1,
                      SDocumentShape shape = {});

}  // namespace orv::bench
