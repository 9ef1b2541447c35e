"""Native messaging frames, as browsers write them to a host and read them
back: a 32-bit little-endian length, then that many bytes.

The Python tools (vantrel-register's --check, the benchmarks, the fuzz seed
writer) frame through here; it is installed beside vantrel-register.
"""

PREFIX_SIZE = 4


def frame(data):
    """The bytes as one frame."""
    return len(data).to_bytes(PREFIX_SIZE, "little") + data


def frame_length(prefix):
    """The length a frame's prefix announces."""
    return int.from_bytes(prefix[:PREFIX_SIZE], "little")


def split_frames(output, max_length=None):
    """The whole frames' texts at the start of output, and the rest, which is
    no whole frame (or one announcing more than max_length bytes)."""
    texts = []
    position = 0
    while position + PREFIX_SIZE <= len(output):
        length = frame_length(output[position:])
        end = position + PREFIX_SIZE + length
        if (max_length is not None and length > max_length) or end > len(output):
            break
        texts.append(output[position + PREFIX_SIZE:end])
        position = end
    return texts, output[position:]


def read_frame(stream):
    """The text of the next frame on a binary stream; None at its end or
    when it ends inside a frame."""
    prefix = stream.read(PREFIX_SIZE)
    if len(prefix) < PREFIX_SIZE:
        return None
    length = frame_length(prefix)
    text = stream.read(length)
    return text if len(text) == length else None
