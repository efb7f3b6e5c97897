// The files the program reads: reads of regular files and standard input that stop at a size
// limit instead of taking whatever a device or a pipe hands over. Every file the program reads
// goes through here; the writes, whole or not at all, are file_replacement.h's.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace formats {

// The largest levels or research answer read from a file or standard input, as the live
// transport's body limit.
inline constexpr size_t kMaxAnswerBytes = size_t{16} << 20;

// The largest option chain read from a file or standard input: room for the largest real chain
// (a full index chain as exchange JSON is some tens of MiB).
inline constexpr size_t kMaxChainBytes = size_t{64} << 20;

// `bytes` as people read a limit: "16 MiB", "512 KiB" or "100 bytes".
std::string SizeText(size_t bytes);

// Opens `path` for reading when it names a regular file, without waiting for a writer when it
// names a FIFO. Null with `*error` saying why not: the system's reason (a missing file, no
// permission) or "not a regular file (a directory)" and the like, before anything is read.
std::FILE* OpenRegularFile(const std::string& path, std::string* error);

// Reads all of `path` into `*out` when it is a regular file of at most `limit` bytes. False with
// `*error` saying why not: as OpenRegularFile, the system's reason when reading fails, or
// "larger than <limit>" as soon as more bytes arrive. `*out` is left alone on failure.
bool ReadFileWithin(const std::string& path, size_t limit, std::string* out, std::string* error);

// As ReadFileWithin for a stream that is already open (standard input); the stream stays open.
bool ReadStreamWithin(std::FILE* stream, size_t limit, std::string* out, std::string* error);

}  // namespace formats
