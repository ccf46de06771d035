#ifndef QUELLARIS_ASSETGEN_INSTRUMENTS_H
#define QUELLARIS_ASSETGEN_INSTRUMENTS_H

#include "tools/assetgen/sequencer.h"

// The music's voices, each a recipe of oscillators, filters and envelopes.
namespace assetgen::instruments {

Instrument pad(double brightness, double gain);   // slow detuned saws, filtered
Instrument pluck(double decay, double gain);      // bright saw with a closing filter
Instrument bass(double gain);                     // saw and sub sine, round
Instrument lead(double gain);                     // pulse with vibrato
Instrument bell(double decay, double gain);       // two-operator FM bell
Instrument kick(double gain);
Instrument snare(double gain);
Instrument hat(double decay, double gain);

}  // namespace assetgen::instruments

#endif
