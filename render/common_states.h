#pragma once
// The stock pipeline states that the sprite batch and the frame use.

enum class BlendState { Opaque, AlphaBlend, NonPremultiplied };
enum class DepthState { Default, None };
enum class RasterizerState { CullNone, CullCounterClockwise };
enum class SamplerState { LinearClamp };

void applyBlendState(BlendState state);
void applyDepthState(DepthState state);
void applyRasterizerState(RasterizerState state);
// Binds the sampler to texture unit 0.
void applySamplerState(SamplerState state);
void releaseCommonStates();
