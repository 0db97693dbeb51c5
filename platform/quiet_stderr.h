#pragma once
// Keeps standard error quiet for a while: libraries that complain while failing to start (MIDI
// back ends without a sequencer or server) let the program say it once, in its own words.
class StandardErrorSilenced {
  public:
    StandardErrorSilenced();
    ~StandardErrorSilenced();
    StandardErrorSilenced(const StandardErrorSilenced&) = delete;
    StandardErrorSilenced& operator=(const StandardErrorSilenced&) = delete;

  private:
    int saved = -1;
};
