"""A whole signal game at speed 2, played with the mouse."""

import game_play
import lk72e2e

lk72e2e.run(lambda s: game_play.play(s, 1))
