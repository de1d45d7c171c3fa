// Backup and restore of a club's data next to zlib alone on the same bytes.
//   BM_Backup      TBackupFile::Backup of the whole club (read, compress, write the archive)
//   BM_Compress2   read the same files in 16384-byte pieces, compress2 level 9 each
//   BM_Restore     TBackupFile::Restore of the archive into an empty folder
//   BM_RestoreClub RestoreClub into an empty program folder: the archive read three times
//                  (checked, into Temp, staged beside the targets), then renamed in place
//   BM_List        TBackupFile::List: read and inflate the whole archive, write nothing
//   BM_Uncompress  uncompress every compressed piece of the archive (from memory)
//   BM_UncompressAndWrite  the same, writing the pieces to files as a restore must
#include <benchmark/benchmark.h>
#include <unistd.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "utilities/backup_file.h"
#include "utilities/club_backup.h"

namespace {

namespace fs = std::filesystem;
using vantrel::utilities::PathToText;
using vantrel::utilities::TBackupFile;

constexpr std::size_t kPiece = 16384;

// 50 MB of member files and journals over ten exercises, and 10 MB of random bytes.
struct Club {
  Club() {
    root = fs::temp_directory_path() / ("vantrel-backup-bench-" + std::to_string(::getpid()));
    fs::create_directories(root);
    std::mt19937 random(42);
    Write(root / "Vantrel.ini", "[Fichier]\r\nExercice=2025-2026\r\n");
    patterns.push_back(PathToText(root) + "/*.ini");
    const char* names[] = {"DUPONT",  "MARTIN", "BERNARD", "DURAND", "LEFEBVRE", "MOREAU",
                           "LAURENT", "SIMON",  "MICHEL",  "GARCIA", "ROUX",     "FOURNIER"};
    const char* first[] = {"Jean", "Marie", "Pierre", "Anne", "Michel", "Claire", "Louis"};
    const std::size_t perExercise = 5 * 1024 * 1024;
    for (int year = 0; year < 10; ++year) {
      const fs::path folder =
          root / (std::to_string(2016 + year) + "-" + std::to_string(2017 + year));
      fs::create_directories(folder);
      std::string members;
      for (int i = 0; members.size() < perExercise / 5; ++i) {
        members +=
            std::to_string(1000000 + random() % 9000000) + ";M.;" + names[random() % 12] + ";" +
            first[random() % 7] + ";" + std::to_string(random() % 100) +
            ";12 rue des Lilas;75012;PARIS;0612345678;club@exemple.fr;OUI;;;V;01/09/2020;\r\n";
      }
      std::string journal;
      for (int i = 0; journal.size() < perExercise - members.size(); ++i) {
        journal += std::to_string(1 + random() % 28) + "/" + std::to_string(1 + random() % 12) +
                   "/2020;Payement de " + names[random() % 12] + ";" +
                   std::to_string(4000 + random() % 3000) + ";" +
                   std::to_string(random() % 100000) + ";;\r\n";
      }
      Write(folder / "Joueur.DBP", members);
      Write(folder / "Journal.dbp", journal);
      textBytes += members.size() + journal.size();
      patterns.push_back(PathToText(folder) + "/*.*");
    }
    std::string noise(10 * 1024 * 1024, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    fs::create_directories(root / "random");
    Write(root / "random" / "noise.bin", noise);
    patterns.push_back(PathToText(root / "random") + "/*.*");
    archive = root.parent_path() / (root.filename().string() + ".bck");
  }
  ~Club() {
    std::error_code error;
    fs::remove_all(root, error);
    fs::remove(archive, error);
  }
  static void Write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::vector<fs::path> files() const {
    std::vector<fs::path> result;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
      if (entry.is_regular_file()) result.push_back(entry.path());
    }
    return result;
  }

  fs::path root;
  fs::path archive;
  std::vector<std::string> patterns;
  std::size_t textBytes = 0;
};

Club& TheClub() {
  static Club club;
  return club;
}

constexpr std::int64_t kTotal = 60 * 1024 * 1024;

void BM_Backup(benchmark::State& state) {
  Club& club = TheClub();
  for (auto _ : state) {
    TBackupFile backup;
    if (!backup.Backup(club.patterns, PathToText(club.archive)))
      state.SkipWithError("backup failed");
  }
  state.counters["archive_MB"] = static_cast<double>(fs::file_size(club.archive)) / 1e6;
  state.SetBytesProcessed(state.iterations() * kTotal);
}

void BM_Compress2(benchmark::State& state) {
  Club& club = TheClub();
  std::vector<unsigned char> in(kPiece);
  std::vector<unsigned char> out(compressBound(kPiece));
  std::size_t compressed = 0;
  for (auto _ : state) {
    compressed = 0;
    for (const fs::path& file : club.files()) {
      std::ifstream stream(file, std::ios::binary);
      for (;;) {
        stream.read(reinterpret_cast<char*>(in.data()), kPiece);
        const auto size = static_cast<uLong>(stream.gcount());
        if (size == 0) break;
        uLongf length = out.size();
        compress2(out.data(), &length, in.data(), size, 9);
        compressed += length;
        benchmark::DoNotOptimize(out.data());
      }
    }
  }
  state.counters["compressed_MB"] = static_cast<double>(compressed) / 1e6;
  state.SetBytesProcessed(state.iterations() * kTotal);
}

void BM_Restore(benchmark::State& state) {
  Club& club = TheClub();
  if (!fs::exists(club.archive)) {
    TBackupFile backup;
    backup.Backup(club.patterns, PathToText(club.archive));
  }
  const fs::path target = club.root.parent_path() / (club.root.filename().string() + "-restored");
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove_all(target);
    state.ResumeTiming();
    TBackupFile backup;
    if (!backup.Restore(PathToText(club.archive), PathToText(target)))
      state.SkipWithError("restore failed");
  }
  fs::remove_all(target);
  state.SetBytesProcessed(state.iterations() * kTotal);
}

void BM_RestoreClub(benchmark::State& state) {
  Club& club = TheClub();
  if (!fs::exists(club.archive)) {
    TBackupFile backup;
    backup.Backup(club.patterns, PathToText(club.archive));
  }
  const fs::path target = club.root.parent_path() / (club.root.filename().string() + "-club");
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove_all(target);
    fs::create_directories(target);
    state.ResumeTiming();
    TBackupFile backup;
    const auto result = vantrel::utilities::RestoreClub(backup, PathToText(club.archive), target);
    if (result.outcome != vantrel::utilities::ClubRestore::Outcome::kRestored)
      state.SkipWithError("club restore failed");
  }
  fs::remove_all(target);
  state.SetBytesProcessed(state.iterations() * kTotal);
}

// Reads and inflates the whole archive without writing a file.
void BM_List(benchmark::State& state) {
  Club& club = TheClub();
  if (!fs::exists(club.archive)) {
    TBackupFile backup;
    backup.Backup(club.patterns, PathToText(club.archive));
  }
  for (auto _ : state) {
    TBackupFile backup;
    if (!backup.List(PathToText(club.archive))) state.SkipWithError("list failed");
  }
  state.SetBytesProcessed(state.iterations() * kTotal);
}

// Every file of the club compressed by compress2 in 16384-byte pieces, kept in memory.
std::vector<std::pair<fs::path, std::vector<std::string>>> CompressedPieces(const Club& club) {
  std::vector<std::pair<fs::path, std::vector<std::string>>> result;
  for (const fs::path& file : club.files()) {
    result.emplace_back(fs::relative(file, club.root), std::vector<std::string>());
    auto& pieces = result.back().second;
    std::ifstream stream(file, std::ios::binary);
    std::vector<unsigned char> in(kPiece);
    std::vector<unsigned char> out(compressBound(kPiece));
    for (;;) {
      stream.read(reinterpret_cast<char*>(in.data()), kPiece);
      const auto size = static_cast<uLong>(stream.gcount());
      if (size == 0) break;
      uLongf length = out.size();
      compress2(out.data(), &length, in.data(), size, 9);
      pieces.emplace_back(reinterpret_cast<const char*>(out.data()), length);
    }
  }
  return result;
}

void BM_Uncompress(benchmark::State& state) {
  const auto files = CompressedPieces(TheClub());
  std::vector<unsigned char> out(kPiece);
  for (auto _ : state) {
    for (const auto& [name, pieces] : files) {
      for (const std::string& piece : pieces) {
        uLongf length = kPiece;
        uncompress(out.data(), &length, reinterpret_cast<const Bytef*>(piece.data()), piece.size());
        benchmark::DoNotOptimize(out.data());
      }
    }
  }
  state.SetBytesProcessed(state.iterations() * kTotal);
}

void BM_UncompressAndWrite(benchmark::State& state) {
  Club& club = TheClub();
  const auto files = CompressedPieces(club);
  const fs::path target = club.root.parent_path() / (club.root.filename().string() + "-written");
  std::vector<unsigned char> out(kPiece);
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove_all(target);
    state.ResumeTiming();
    for (const auto& [name, pieces] : files) {
      fs::create_directories((target / name).parent_path());
      std::ofstream stream(target / name, std::ios::binary);
      for (const std::string& piece : pieces) {
        uLongf length = kPiece;
        uncompress(out.data(), &length, reinterpret_cast<const Bytef*>(piece.data()), piece.size());
        stream.write(reinterpret_cast<const char*>(out.data()),
                     static_cast<std::streamsize>(length));
      }
    }
  }
  fs::remove_all(target);
  state.SetBytesProcessed(state.iterations() * kTotal);
}

BENCHMARK(BM_Backup)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_Compress2)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_Restore)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_RestoreClub)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_List)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_Uncompress)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_UncompressAndWrite)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
