#ifndef QUELLARIS_PLATFORM_FSOUND_H
#define QUELLARIS_PLATFORM_FSOUND_H

// The game's sound library: samples read from PCM WAV files (8 or 16 bits, mono or stereo)
// and played on channels, either at the listener or placed in space around it.
//
// A channel number comes from FSOUND_PlaySound and stays valid for that sound only: once the
// sound is stopped (or everything is, with FSOUND_ALL) or its voice plays something else, the
// number addresses nothing. FSOUND_FREE (-1), the answer when nothing could be played, also
// addresses nothing, so the calls that follow playing a sample that failed to load are
// harmless. Calls on nothing, on samples that were not loaded, or before FSOUND_Init, do
// nothing and answer false, -1 or null (the read-back calls below say what they read).
//
// Volumes are bytes 0 .. 255. Positions and vectors are three floats in the game's world axes.
// Samples may be loaded on one thread while another plays: every call is safe from two threads.

class SoundSample;
using FSOUND_SAMPLE = SoundSample;

// Channel arguments.
constexpr int FSOUND_FREE = -1;
constexpr int FSOUND_ALL = -3;

// Sample modes. The width, channel and sign bits describe raw data; a WAV file brings its own
// format, so loading honours only the loop, 3D and force-mono bits.
constexpr unsigned int FSOUND_LOOP_NORMAL = 0x00000002;
constexpr unsigned int FSOUND_16BITS = 0x00000010;
constexpr unsigned int FSOUND_MONO = 0x00000020;
constexpr unsigned int FSOUND_STEREO = 0x00000040;
constexpr unsigned int FSOUND_SIGNED = 0x00000100;
constexpr unsigned int FSOUND_HW3D = 0x00001000;
constexpr unsigned int FSOUND_FORCEMONO = 0x00040000;
constexpr unsigned int FSOUND_NORMAL = FSOUND_16BITS | FSOUND_SIGNED | FSOUND_MONO;

// Opens the default sound output at mixRate with maxChannels voices; false when it cannot (or
// when the library is already open). No flags are defined.
bool FSOUND_Init(int mixRate, int maxChannels, unsigned int flags);
// Stops every sound and releases every sample and the output.
void FSOUND_Close();

// Loads a whole WAV file into a new sample: index FSOUND_FREE, offset and length 0. Null for a
// file that is missing, not a PCM WAV file, damaged, or any other index, offset or length.
// A sample with FSOUND_HW3D is played in space, and so is mixed down to mono like one with
// FSOUND_FORCEMONO; FSOUND_LOOP_NORMAL repeats the whole sample until stopped.
FSOUND_SAMPLE* FSOUND_Sample_Load(int index, const char* path, unsigned int mode, int offset, int length);
// For placed sounds: full volume up to min, quieter with distance beyond (scaled by the rolloff
// factor), no quieter beyond max. False unless 0 < min <= max.
bool FSOUND_Sample_SetMinMaxDistance(FSOUND_SAMPLE* sample, float min, float max);

// Plays the sample from its start on a free voice (channel must be FSOUND_FREE) at full volume
// and its own rate; its channel, or -1 for a null sample or when all voices are busy.
int FSOUND_PlaySound(int channel, FSOUND_SAMPLE* sample);
bool FSOUND_StopSound(int channel);
bool FSOUND_SetVolume(int channel, int volume);
// A paused channel keeps its voice; resuming a sound that has ended does not restart it.
bool FSOUND_SetPaused(int channel, bool paused);
// Playback rate in Hz: the sample's own rate plays it at its pitch.
bool FSOUND_SetFrequency(int channel, int frequency);
// Scales every sound.
void FSOUND_SetSFXMasterVolume(int volume);

// Places a sound of a 3D sample; a placed sound is heard at the listener until then. Either
// vector may be null to keep its value.
bool FSOUND_3D_SetAttributes(int channel, const float* position, const float* velocity);
// Position and velocity may be null to keep their values; f is the forward and t the up vector.
void FSOUND_3D_Listener_SetAttributes(const float* position, const float* velocity, float fx, float fy, float fz,
                                      float tx, float ty, float tz);
// World units per metre, for the speed of sound.
void FSOUND_3D_SetDistanceFactor(float scale);
// How fast placed sounds fade beyond their minimum distance (1: halved at twice the distance).
void FSOUND_3D_SetRolloffFactor(float scale);
void FSOUND_3D_SetDopplerFactor(float scale);
// Read-back, for tests of the game's sound: what the calls above left behind. A paused sound
// is not playing. A channel that addresses nothing reads as not playing, not paused and volume
// 0; the master volume reads -1 while the library is closed.
bool FSOUND_IsPlaying(int channel);
bool FSOUND_GetPaused(int channel);
// The volume last set on the channel, 255 until then.
int FSOUND_GetVolume(int channel);
// The volume last given to FSOUND_SetSFXMasterVolume (clamped to 0 .. 255), 255 until then.
int FSOUND_GetSFXMasterVolume();

// Once a frame, after the listener is placed. Every change is heard as it is made, so there is
// nothing left to hand over here.
void FSOUND_Update();

#endif
