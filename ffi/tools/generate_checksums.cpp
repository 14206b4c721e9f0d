// Reads the interface description and writes the C header with the contract
// version and one checksum per operation. Each operation becomes a byte
// record (kind, module, object, name, parameters, result, error, documentation;
// texts as a big-endian u32 length and their bytes), hashed with 64-bit
// FNV-1a and folded to 16 bits by XOR of its four quarters.
//   generate_checksums <description> <output header>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Operation {
  std::uint8_t kind = 0;
  std::string object;
  std::string name;
  std::vector<std::pair<std::string, std::string>> params;
  std::optional<std::string> result;
  std::optional<std::string> error;
  std::string doc;
};

struct Description {
  std::string module;
  std::string contract_version;
  std::vector<Operation> operations;
};

[[noreturn]] void fail(const std::string& message) {
  std::cerr << "generate_checksums: " << message << '\n';
  std::exit(1);
}

std::uint8_t kind_of(const std::string& word) {
  if (word == "function") return 0;
  if (word == "method") return 1;
  if (word == "constructor") return 2;
  if (word == "callback") return 3;
  fail("unknown operation kind " + word);
}

Operation start_operation(std::istringstream& words) {
  std::string kind, qualified;
  words >> kind >> qualified;
  Operation op;
  op.kind = kind_of(kind);
  const auto colons = qualified.find("::");
  if ((colons == std::string::npos) != (op.kind == 0)) fail("object name wrong for " + qualified);
  if (colons != std::string::npos) {
    op.object = qualified.substr(0, colons);
    op.name = qualified.substr(colons + 2);
  } else {
    op.name = qualified;
  }
  return op;
}

std::string rest_of(std::istringstream& words) {
  std::string rest;
  std::getline(words >> std::ws, rest);
  return rest;
}

Description parse(std::istream& in) {
  Description d;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    std::string key;
    if (!(words >> key) || key[0] == '#') continue;
    if (key == "module")
      d.module = rest_of(words);
    else if (key == "contract_version")
      d.contract_version = rest_of(words);
    else if (key == "operation")
      d.operations.push_back(start_operation(words));
    else if (d.operations.empty())
      fail("'" + key + "' outside an operation");
    else if (key == "param") {
      std::string name, type;
      words >> name >> type;
      d.operations.back().params.emplace_back(name, type);
    } else if (key == "returns")
      d.operations.back().result = rest_of(words);
    else if (key == "throws")
      d.operations.back().error = rest_of(words);
    else if (key == "doc") {
      std::string& doc = d.operations.back().doc;
      doc += (doc.empty() ? "" : "\n") + rest_of(words);
    } else
      fail("unknown key " + key);
  }
  if (d.module.empty() || d.contract_version.empty()) fail("module or contract_version missing");
  return d;
}

void put_text(std::string& record, const std::string& text) {
  const auto n = static_cast<std::uint32_t>(text.size());
  for (int shift = 24; shift >= 0; shift -= 8) record += static_cast<char>((n >> shift) & 0xff);
  record += text;
}

void put_optional(std::string& record, const std::optional<std::string>& text) {
  record += static_cast<char>(text ? 1 : 0);
  if (text) put_text(record, *text);
}

std::string record_of(const std::string& module, const Operation& op) {
  std::string record(1, static_cast<char>(op.kind));
  put_text(record, module);
  if (op.kind != 0) put_text(record, op.object);
  put_text(record, op.name);
  record += static_cast<char>(op.params.size());
  for (const auto& [name, type] : op.params) {
    put_text(record, name);
    put_text(record, type);
  }
  put_optional(record, op.result);
  put_optional(record, op.error);
  put_text(record, op.doc);
  return record;
}

std::uint16_t checksum(const std::string& record) {
  std::uint64_t h = 0xcbf29ce484222325ULL;
  for (const char c : record) h = (h ^ static_cast<unsigned char>(c)) * 0x100000001b3ULL;
  return static_cast<std::uint16_t>(h ^ (h >> 16) ^ (h >> 32) ^ (h >> 48));
}

std::string macro_name(const Operation& op) {
  std::string name = "QUELMARIS_FFI_CHECKSUM_";
  for (const char c : op.object + (op.object.empty() ? "" : "_") + op.name)
    name += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return name;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) fail("usage: generate_checksums <description> <output header>");
  std::ifstream in(argv[1]);
  if (!in) fail(std::string("cannot read ") + argv[1]);
  const Description d = parse(in);
  std::ostringstream out;
  out << "/* Generated from the interface description at build time; do not edit. */\n"
      << "#ifndef QUELMARIS_FFI_CHECKSUMS_H\n#define QUELMARIS_FFI_CHECKSUMS_H\n\n"
      << "#define QUELMARIS_FFI_CONTRACT_VERSION " << d.contract_version << "u\n";
  for (const Operation& op : d.operations)
    out << "#define " << macro_name(op) << ' ' << checksum(record_of(d.module, op)) << "u\n";
  out << "\n#endif /* QUELMARIS_FFI_CHECKSUMS_H */\n";
  std::ofstream file(argv[2]);
  file << out.str();
  if (!file) fail(std::string("cannot write ") + argv[2]);
  return 0;
}
