#pragma once
// The platform-free rules around starting a slot's target and playing the
// click sound: the working directory a target starts in, the message for a
// shell failure, and which sound bytes are safe to hand to the player.

#include <cstddef>
#include <cstdint>

// The folder that holds `target`: its drive (such as "C:") followed by its
// directory with the leading and trailing separators ("\Tools\"). A path
// without a drive gives the directory alone, a bare file name an empty text.
// Paths are GBK: a trail byte 0x5C of a double-byte character is not a
// separator. Returns false, leaving `out` empty, when the folder would not
// fit in `size` bytes (terminator included) or target is null.
bool WorkingDirectoryOf(const char* target, char* out, std::size_t size);

// The message for a shell result: null when the target started (above 32),
// the "deleted" text for a missing file or path (2, 3), else "not available".
const char* LaunchFailureText(std::intptr_t shellResult);

// A RIFF "WAVE" image whose declared length lies inside the `length` bytes
// loaded: the sound player reads what the header claims, so anything else is
// left unplayed.
bool IsPlayableWave(const std::uint8_t* bytes, std::size_t length);
