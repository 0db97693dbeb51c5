#include "songs/conversion.h"

#include <algorithm>
#include <atomic>
#include <new>
#include <system_error>
#include <thread>

#include "songs/chunk_reader.h"
#include "songs/tempo_map.h"
#include "songs/track_walker.h"

std::vector<WorkerShare> workerShares(uint32_t trackCount, uint32_t workerCount) {
    std::vector<WorkerShare> shares;
    if (workerCount == 0) return shares;
    const uint32_t quotient = trackCount / workerCount;
    const uint32_t remainder = trackCount % workerCount;
    uint32_t first = 0;
    shares.reserve(workerCount);
    for (uint32_t j = 0; j < workerCount; ++j) {
        const uint32_t size = quotient + (j < remainder ? 1 : 0);
        shares.push_back({first, first + size});
        first += size;
    }
    return shares;
}

uint32_t conversionWorkerCount() {
    const unsigned n = std::thread::hardware_concurrency();
    return n == 0 ? 1 : n;
}

namespace {

constexpr uint32_t noNote = UINT32_MAX;

// Memory running out in a worker is reported, not thrown: it would end the program there; the
// calling thread throws it once every worker is done.
void convertShare(Song& song, WorkerShare share, std::atomic<bool>& outOfMemory) {
    try {
        for (uint32_t i = share.first; i < share.end && !outOfMemory; ++i) convertTrack(song, i);
    } catch (const std::bad_alloc&) {
        outOfMemory = true;
    }
}

} // namespace

void convertTracks(Song& song, uint32_t workerCount) {
    const uint32_t count = uint32_t(song.trackChunks.size());
    song.tracks.clear();
    song.tracks.resize(count);
    // Every tempo change is known before any worker times a track, whatever the schedule.
    completeTempoMap(song);

    const std::vector<WorkerShare> shares = workerShares(count, std::max(workerCount, 1u));
    std::vector<std::thread> workers;
    workers.reserve(shares.size());
    // This thread converts the first share while the workers take the others; an empty share
    // gets no worker, so a song of one track starts none.
    std::vector<WorkerShare> leftOver;
    leftOver.reserve(shares.size());
    std::atomic<bool> outOfMemory{false};
    for (size_t j = 1; j < shares.size(); ++j) {
        if (shares[j].first == shares[j].end) continue;
        try {
            workers.emplace_back(convertShare, std::ref(song), shares[j], std::ref(outOfMemory));
        } catch (const std::system_error&) {
            // No thread to be had: this thread converts the share itself after the others.
            leftOver.push_back(shares[j]);
        }
    }
    if (!shares.empty()) convertShare(song, shares[0], outOfMemory);
    for (std::thread& worker : workers) worker.join();
    for (const WorkerShare& share : leftOver) convertShare(song, share, outOfMemory);
    if (outOfMemory) {
        std::vector<Track>().swap(song.tracks);
        throw std::bad_alloc();
    }

    // Compaction: tracks without notes go, the rest are numbered and coloured by position.
    std::vector<Track>& tracks = song.tracks;
    tracks.erase(std::remove_if(tracks.begin(), tracks.end(),
                                [](const Track& t) { return t.notes.empty(); }),
                 tracks.end());
    for (uint32_t i = 0; i < tracks.size(); ++i) {
        tracks[i].number = i;
        tracks[i].colour = i % 5 + 1;
    }
    if (tracks.size() == 2) {
        tracks[0].playType = PlayType::RightHand;
        tracks[1].playType = PlayType::LeftHand;
    }
}

void convertTrack(Song& song, uint32_t index) {
    if (index >= song.trackChunks.size() || index >= song.tracks.size()) return;
    Track track;
    track.number = index;
    if (song.ticksPerQuarter != 0) {
        completeTempoMap(song);
        // The map is complete and no longer written, so it is read without the lock.
        TempoCursor clock(song.tempoMap, song.ticksPerQuarter);
        ChunkReader in(song.midiSource, song.trackChunks[index]);

        // Each note-on becomes a note at once, its duration unknown (negative) until the first
        // later note-off of its key, from any channel, ends it. Open notes of one key are chained
        // through openNext, so an ending event touches only the notes it ends.
        std::vector<Note>& notes = track.notes;
        std::vector<uint32_t> openNext;
        uint32_t openHead[256];
        std::fill(std::begin(openHead), std::end(openHead), noNote);
        // Both grow as notes are found: a chunk's size says nothing about what it holds.
        size_t unended = 0;
        double last = 0;
        walkTrack(in, [&](const RawEvent& e) {
            if (e.size == 0) return;
            const double time = clock.timeAt(e.tick);
            last = time;
            const uint8_t kind = e.bytes[0] & 0xF0;
            if (kind == 0x90) {
                // Key bytes are matched as read; a damaged one above 127 is stored as 127.
                const uint8_t rawKey = e.bytes[1];
                notes.push_back({time, -1.0, 0, std::min<uint8_t>(rawKey, 127), e.bytes[2]});
                openNext.push_back(openHead[rawKey]);
                openHead[rawKey] = uint32_t(notes.size() - 1);
                ++unended;
            } else if (kind == 0x80) {
                const uint8_t rawKey = e.bytes[1];
                for (uint32_t i = openHead[rawKey]; i != noNote; i = openNext[i]) {
                    notes[i].duration = time - notes[i].start;
                    notes[i].channel = e.bytes[0] & 0x0F;
                    --unended;
                }
                openHead[rawKey] = noNote;
            }
        });
        track.length = float(last);
        if (unended > 0) {
            notes.erase(std::remove_if(notes.begin(), notes.end(),
                                       [](const Note& n) { return n.duration < 0; }),
                        notes.end());
        }
        for (const Note& n : notes) {
            track.lowestKey = std::min(track.lowestKey, n.key);
            track.highestKey = std::max(track.highestKey, n.key);
        }
        // Growth leaves up to half unused.
        if (notes.capacity() - notes.size() > notes.size() / 4) notes.shrink_to_fit();
    }
    song.tracks[index] = std::move(track);
}
