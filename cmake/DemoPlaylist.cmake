file(WRITE ${OUT} "#EXTM3U\n01 A4.mp3\n02 C5.flac\n03 E5.mp3\n")
