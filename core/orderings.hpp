// The fixed orders the core puts its own records in, so that results do not
// depend on directory order, hash-map order or thread timing. Every sort is
// stable; text compares bytewise.
#pragma once

#include "blake3_hasher.hpp"
#include "file_facts.hpp"
#include "records.hpp"
#include "walk.hpp"

#include <cstdint>
#include <utility>
#include <vector>

namespace quelmaris {

// root_index ascending, then path bytewise.
void sort_member_order(std::vector<WalkedFile>& files);
void sort_entry_order(std::vector<FileEntry>& entries);
// dev, then ino, ascending.
void sort_identity_order(std::vector<DevIno>& pairs);

// A digest with the files that produced it, in the order they were taken.
struct DigestGroup {
  Digest digest;
  std::vector<WalkedFile> files;
};
// Digest ascending as a string of unsigned bytes.
void sort_digest_order(std::vector<DigestGroup>& groups);

}  // namespace quelmaris
