package app;

public class Hooked {
    public static void main(String[] args) {
        Record.call("main", Hooked.class, args);
        Runtime.getRuntime().addShutdownHook(new Thread(() -> Record.line("hook")));
        // A server's main that keeps a non-daemon thread, as a service's does until it is stopped.
        new Thread(() -> {
            try {
                Thread.sleep(60000);
            } catch (InterruptedException e) {
                // ended
            }
        }).start();
    }
}
