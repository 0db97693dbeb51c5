#pragma once
// The stock pipeline states that the passes use. The window has no depth or stencil buffer, so
// there are no depth or stencil states: both tests stay off, as GL starts them.

enum class BlendState { Opaque, AlphaBlend, NonPremultiplied };
enum class RasterizerState { CullNone, CullCounterClockwise };
enum class SamplerState { LinearClamp };

void applyBlendState(BlendState state);
void applyRasterizerState(RasterizerState state);
// Binds the sampler to texture unit 0.
void applySamplerState(SamplerState state);
// Opaque blending, back-face culling, solid fill and no scissor: the states between passes.
void restoreDefaultStates();
void releaseCommonStates();
