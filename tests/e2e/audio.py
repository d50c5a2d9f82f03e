"""Where in a recording there is sound: the capture of the pipe sink and the
program's alarm.wav are measured the same way."""

import array
import subprocess
import wave
from dataclasses import dataclass

from stage import CAPTURE_CHANNELS, CAPTURE_RATE

# 1 % of full scale: far above the capture's digital silence (exact zeros)
# and well below the chime's level for most of its length.
THRESHOLD = 328
# Quiet shorter than this inside a sound does not split it.
BRIDGE_SECONDS = 0.25


@dataclass
class Sound:
    start: float  # seconds from the start of the recording
    end: float

    @property
    def duration(self):
        return self.end - self.start


@dataclass
class Measure:
    seconds: float  # length of the recording
    peak: int
    sounds: list

    @property
    def audible(self):
        """From the first sound's start to the last one's end."""
        if not self.sounds:
            return 0.0
        return self.sounds[-1].end - self.sounds[0].start


def measure_samples(samples, channels, rate):
    """samples: interleaved signed 16-bit values."""
    frames = len(samples) // channels
    sounds = []
    peak = 0
    current_start = None
    last_loud = None
    bridge = int(BRIDGE_SECONDS * rate)
    # One loudness value per frame: the largest of its channels.
    for frame in range(frames):
        base = frame * channels
        level = max(abs(samples[base + c]) for c in range(channels))
        if level > peak:
            peak = level
        if level > THRESHOLD:
            if current_start is None:
                current_start = frame
            elif frame - last_loud > bridge:
                sounds.append(Sound(current_start / rate, (last_loud + 1) / rate))
                current_start = frame
            last_loud = frame
    if current_start is not None:
        sounds.append(Sound(current_start / rate, (last_loud + 1) / rate))
    return Measure(frames / rate, peak, sounds)


def measure_capture(data):
    samples = array.array("h")
    samples.frombytes(data)
    return measure_samples(samples, CAPTURE_CHANNELS, CAPTURE_RATE)


def measure_wav(path):
    with wave.open(path, "rb") as wav:
        if wav.getsampwidth() != 2:
            raise ValueError("expected 16-bit samples in " + path)
        channels = wav.getnchannels()
        rate = wav.getframerate()
        samples = array.array("h")
        samples.frombytes(wav.readframes(wav.getnframes()))
    return measure_samples(samples, channels, rate), rate


def save_capture(data, path, env=None):
    """Writes a stretch of the capture as a WAV file beside the screenshots
    and returns sox's statistics of it."""
    subprocess.run(["sox", "-t", "raw", "-r", str(CAPTURE_RATE), "-e", "signed", "-b", "16",
                    "-c", str(CAPTURE_CHANNELS), "-", path], input=data, check=True,
                   capture_output=True, env=env, timeout=60)
    stat = subprocess.run(["sox", path, "-n", "stat"], capture_output=True, env=env, timeout=60)
    return stat.stderr.decode("utf-8", "replace")
